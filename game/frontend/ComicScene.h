// The comics told between chapters of the Action levels: a scene is a list of pages, a page a list of
// 256 x 256 pictures that fade in one after another on a dark blue page and fade out together when the page
// turns. Only the pictures of the page on screen are loaded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class KGraphic;

struct ComicFrame {
    ComicFrame(std::string fileName, int32_t x, int32_t y);
    ~ComicFrame();
    // The picture at (x, y), its fade-in times the page's alpha; nothing without a picture.
    void draw(double pageAlpha);

    std::unique_ptr<KGraphic> picture; // only while its page shows
    int32_t width = 256, height = 256;
    int32_t x = 0, y = 0;
    double fadeInTime = 1.5;
    double elapsed = 0.0;
    std::string fileName;
};

class ComicPage {
public:
    void enter(); // loads the pictures and starts the reveal
    void leave(); // frees the pictures
    void update(double dt);
    void draw();
    // Shows every frame at full strength at once.
    void revealAll();

    std::vector<std::unique_ptr<ComicFrame>> frames; // in reveal order
    bool ending = false;                             // fading out after a page turn was asked
    bool revealed = false;                           // every frame fully shown
    double fadeOutTime = 0.5;
    double fadeOutElapsed = 0.0;
    int32_t revealIndex = 0; // frames 0 .. revealIndex are drawn
    float red = 0, green = 0, blue = 0.2f;
};

class ComicScene {
public:
    void update(double dt);
    void draw();
    // "Next comic": the first press shows the whole page, the next turns it (the last page ends the scene).
    void next();
    // Starts the scene on its first page.
    void start();
    // The page on screen, null for a scene without pages.
    ComicPage* page() const;

    bool active = false; // the scene has pages
    std::vector<std::unique_ptr<ComicPage>> pages;
    int32_t currentPage = 0;
    bool finished = false;
};

// The five scenes of the game.
std::vector<std::unique_ptr<ComicScene>> buildComicScenes();
