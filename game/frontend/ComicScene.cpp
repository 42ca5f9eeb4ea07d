// Comic frames, pages and scenes, and the table of the five scenes.
#include "ComicScene.h"

#include "GameWindow.h"
#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "SpriteSheet.h"

#include <algorithm>

ComicFrame::ComicFrame(std::string name, int32_t fx, int32_t fy) : x(fx), y(fy), fileName(std::move(name)) {}
ComicFrame::~ComicFrame() = default;

void ComicFrame::draw(double pageAlpha) {
    if (!picture) return;
    const double alpha = std::clamp(pageAlpha, 0.0, 1.0) * std::clamp(elapsed / fadeInTime, 0.0, 1.0);
    picture->blitAlphaRectFx(0, 0, float(width), float(height), short(x), short(y), 0, 1, float(alpha), false, false, 0,
                             0);
}

void ComicPage::enter() {
    fadeOutElapsed = 0;
    ending = false;
    revealed = false;
    revealIndex = 0;
    for (auto& frame : frames) {
        frame->picture.reset(createGraphic());
        loadGraphicsPicture(frame->picture.get(), frame->fileName);
        frame->elapsed = 0;
    }
}

void ComicPage::leave() {
    for (auto& frame : frames) frame->picture.reset();
}

void ComicPage::update(double dt) {
    if (ending) fadeOutElapsed += dt;
    if (revealed || frames.empty()) return;
    for (int32_t i = 0; i <= revealIndex; i++) frames[size_t(i)]->elapsed += dt;
    const ComicFrame& showing = *frames[size_t(revealIndex)];
    if (showing.elapsed >= showing.fadeInTime) {
        if (revealIndex == int32_t(frames.size()) - 1)
            revealed = true;
        else
            revealIndex++;
    }
}

void ComicPage::revealAll() {
    if (frames.empty()) {
        revealed = true;
        return;
    }
    revealIndex = int32_t(frames.size()) - 1;
    for (auto& frame : frames) frame->elapsed = frame->fadeInTime;
    revealed = true;
}

void ComicPage::draw() {
    if (sharedGraphic) sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), red, green, blue, 1);
    const double pageAlpha = ending ? 1.0 - std::clamp(fadeOutElapsed / fadeOutTime, 0.0, 1.0) : 1.0;
    for (int32_t i = 0; i <= revealIndex && i < int32_t(frames.size()); i++) frames[size_t(i)]->draw(pageAlpha);
}

ComicPage* ComicScene::page() const {
    if (currentPage < 0 || currentPage >= int32_t(pages.size())) return nullptr;
    return pages[size_t(currentPage)].get();
}

void ComicScene::start() {
    currentPage = 0;
    finished = false;
    if (ComicPage* first = page()) first->enter();
}

void ComicScene::update(double dt) {
    // A finished scene has left its last page; it waits for its owner to move on.
    if (!active || finished) return;
    ComicPage* shown = page();
    if (!shown) return;
    shown->update(dt);
    if (shown->fadeOutElapsed < shown->fadeOutTime) return;
    shown->leave();
    if (currentPage + 1 < int32_t(pages.size())) {
        currentPage++;
        page()->enter();
    } else {
        finished = true;
    }
}

void ComicScene::next() {
    if (!active) {
        finished = true;
        return;
    }
    ComicPage* shown = page();
    if (finished || !shown) return;
    if (shown->revealed)
        shown->ending = true;
    else
        shown->revealAll();
}

void ComicScene::draw() {
    if (sharedGraphic) sharedGraphic->fillRect(0, 0, float(kGameWidth), float(kGameHeight), 1, 1, 1, 1);
    if (!active) return;
    if (ComicPage* shown = page()) shown->draw();
}

namespace {

struct FrameSpot {
    const char* file;
    int32_t x, y;
};

std::unique_ptr<ComicPage> makePage(std::initializer_list<FrameSpot> spots) {
    auto page = std::make_unique<ComicPage>();
    for (const FrameSpot& spot : spots) page->frames.push_back(std::make_unique<ComicFrame>(spot.file, spot.x, spot.y));
    return page;
}

} // namespace

std::vector<std::unique_ptr<ComicScene>> buildComicScenes() {
    std::vector<std::unique_ptr<ComicScene>> scenes;
    for (int i = 0; i < 5; i++) scenes.push_back(std::make_unique<ComicScene>());
    scenes[0]->pages.push_back(makePage({{"scene1frame01.jpg", 8, 8},
                                         {"scene1frame02.jpg", 272, 8},
                                         {"scene1frame03.jpg", 536, 8},
                                         {"scene1frame04.jpg", 8, 272},
                                         {"scene1frame05.jpg", 272, 272},
                                         {"scene1frame06.jpg", 536, 272}}));
    scenes[0]->pages.push_back(makePage({{"scene1frame07.jpg", 8, 8},
                                         {"scene1frame08.jpg", 272, 8},
                                         {"scene1frame09.jpg", 536, 8},
                                         {"scene1frame10.jpg", 140, 272},
                                         {"scene1frame11.jpg", 404, 272}}));
    scenes[1]->pages.push_back(makePage({{"scene2frame1.jpg", 8, 8},
                                         {"scene2frame2.jpg", 272, 8},
                                         {"scene2frame3.jpg", 536, 8},
                                         {"scene2frame4.jpg", 8, 272},
                                         {"scene2frame5.jpg", 272, 272},
                                         {"scene2frame6.jpg", 536, 272}}));
    scenes[2]->pages.push_back(
        makePage({{"scene3frame1.jpg", 8, 8}, {"scene3frame2.jpg", 272, 120}, {"scene3frame3.jpg", 536, 260}}));
    scenes[3]->pages.push_back(
        makePage({{"scene4frame1.jpg", 8, 8}, {"scene4frame2.jpg", 272, 120}, {"scene4frame3.jpg", 536, 260}}));
    scenes[4]->pages.push_back(makePage({{"scene5frame1.jpg", 110, 8},
                                         {"scene5frame2.jpg", 376, 8},
                                         {"scene5frame3.jpg", 170, 272},
                                         {"scene5frame4.jpg", 436, 272}}));
    for (auto& scene : scenes) scene->active = !scene->pages.empty();
    return scenes;
}
