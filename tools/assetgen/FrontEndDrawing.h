// Text and buttons for the front-end pictures and the comics: captions set in DejaVu Sans Bold through cairo's text
// paths, centred on a point, filled and edged with a dark outline.
#pragma once

#include "Art.h"

// A caption centred on (cx, cy) in one colour with an outline.
void drawCaption(cairo_t* cr, const char* text, double cx, double cy, double size, Rgb fill, Rgb outline);
// The same filled with a vertical gradient from top to bottom colour.
void drawCaptionGradient(cairo_t* cr, const char* text, double cx, double cy, double size, Rgb top, Rgb bottom,
                         Rgb outline);
// The width the caption takes at that size.
double captionWidth(cairo_t* cr, const char* text, double size);

// A button picture: a glossy rounded pill with its caption; the hover look glows warmer and brighter.
void drawButtonLook(cairo_t* cr, FrameRect r, const char* caption, bool hover, double textSize);
