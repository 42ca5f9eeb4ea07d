// Drawing helpers shared by every picture family of the asset generator: a cairo canvas that writes PNG
// files, colours, smooth outlines, gradients, glows and tileable noise, plus the record of each written
// sheet (frames and hotspots) that the contact sheet shows.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

struct Rgb {
    double r, g, b;
};

Rgb hex(uint32_t rgb);
Rgb mix(Rgb a, Rgb b, double t);
Rgb shade(Rgb c, double factor); // factor < 1 darkens, > 1 lightens towards white

struct Point {
    double x, y;
};

struct FrameRect {
    int left, top, right, bottom;
};

struct Hotspot {
    int frame;
    double x, y;
};

// A picture with an ARGB surface and a cairo context on it.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context; }
    cairo_surface_t* surface() const { return picture; }
    int width() const { return w; }
    int height() const { return h; }
    void clear();

private:
    int w, h;
    cairo_surface_t* picture;
    cairo_t* context;
};

// Where pictures go and what has been written, for the contact sheet.
class AssetOutput {
public:
    struct Sheet {
        std::string name;
        cairo_surface_t* picture; // a reference held until the contact sheet is made
        std::vector<FrameRect> frames;
        std::vector<Hotspot> hotspots;
        bool additive;
    };

    explicit AssetOutput(std::string dataFolder);
    ~AssetOutput();
    AssetOutput(const AssetOutput&) = delete;
    AssetOutput& operator=(const AssetOutput&) = delete;

    std::string path(const std::string& relative) const; // data folder + relative name
    // Writes the canvas as graphics/<name> and records its frames and hotspots.
    void savePng(const Canvas& canvas, const std::string& name, std::vector<FrameRect> frames,
                 std::vector<Hotspot> hotspots = {}, bool additive = false);
    // Writes an opaque picture as graphics/<name> in JPEG (full chroma, the given quality).
    void saveJpeg(cairo_surface_t* picture, const std::string& name, int quality = 92) const;
    const std::vector<Sheet>& sheets() const { return written; }

private:
    std::string root;
    std::vector<Sheet> written;
};

// Throws std::runtime_error naming the picture and the first pixel whose premultiplied colour exceeds its
// alpha: such a colour cannot be stored and wraps round to another hue when the picture is saved.
void requireValidPremultiplied(cairo_surface_t* picture, const std::string& name);
std::vector<FrameRect> gridFrames(int width, int height, int cellWidth, int cellHeight, int count = -1);
// Writes a file through a temporary name and a rename; throws std::runtime_error on failure.
void writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
void makeFolders(const std::string& path);

void setColor(cairo_t* cr, Rgb c, double alpha = 1.0);
// A closed smooth path through the points (Catmull-Rom turned into Bezier curves).
void smoothClosedPath(cairo_t* cr, const std::vector<Point>& points);
// A vertical gradient between two colours over y0..y1 as the source.
void verticalGradient(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom, double alpha = 1.0);
// Fills the current path with the current source, then strokes it with the dark outline colour.
void fillAndOutline(cairo_t* cr, Rgb outline, double width);
// A round glow: colour at full strength in the middle fading to nothing at the radius.
void glow(cairo_t* cr, double x, double y, double radius, Rgb c, double alpha = 1.0);
// A highlight ellipse (soft white spot) for a glossy look.
void highlight(cairo_t* cr, double x, double y, double rx, double ry, double alpha);
// A radial gradient as the source: the inner colour at the focus circle, the middle one at the given stop
// and the outer one at the outer circle.
void radialGradient(cairo_t* cr, Point focus, double focusRadius, Point centre, double radius, Rgb inner, Rgb middle,
                    Rgb outer, double middleStop = 0.55);
// An elliptical spot of colour that fades to nothing at its edge (middleFactor: the alpha kept at 60 %).
void softEllipse(cairo_t* cr, double x, double y, double rx, double ry, Rgb c, double alpha, double middleFactor = 0.7);
void polygon(cairo_t* cr, std::initializer_list<Point> points);
void circle(cairo_t* cr, double x, double y, double r);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);

// Value noise that repeats every `period` pixels in x and y, in 0..1, for seamless textures.
double tileNoise(double x, double y, int period, int cells, uint32_t seed);
// A few octaves of tileNoise.
double tileFractal(double x, double y, int period, uint32_t seed);
// A small deterministic generator for art decisions (positions of bubbles, stones...).
class ArtRandom {
public:
    explicit ArtRandom(uint32_t seed) : state(seed * 2654435761u + 1) {}
    uint32_t next();
    double uniform(double lo, double hi);

private:
    uint32_t state;
};
