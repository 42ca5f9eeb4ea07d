// The game window: opening it at start-up and releasing it at shutdown.
#include "GameWindow.h"

#include "KGraphic.h"
#include "KGraphicFactory.h"
#include "KMiscTools.h"
#include "KWindowD3D.h"

KWindow* gameWindow = nullptr;
KGraphic* sharedGraphic = nullptr;

namespace {

std::function<KWindow*()> windowMaker;

void reportGraphicsProblem() {
    KMiscTools::messageBox("Graphics Problem",
                           "It appears that your computer doesn't have up to date 3d acceleration.\n"
                           "To solve this problem, update the OpenGL graphics drivers of your computer to their "
                           "latest version.");
}

} // namespace

bool createGameWindow(bool windowed) {
    RendererKind = K_RENDERER_DIRECT3D8;
    gameWindow = windowMaker ? windowMaker() : new KWindowD3D();
    // A window that cannot draw would leave every later step showing its own failure; stop here instead.
    if (!gameWindow->isAccelerationAvailable() ||
        !gameWindow->createGameWindow(kGameWidth, kGameHeight, kGameDepth, windowed, "Glimmerfin", /*unused=*/0)) {
        reportGraphicsProblem();
        destroyGameWindow();
        return false;
    }
    gameWindow->setMaxFrameRate(kMaxFrameRate);
    sharedGraphic = createGraphic();
    return true;
}

void setGameWindowMaker(std::function<KWindow*()> maker) {
    windowMaker = std::move(maker);
}

void destroyGameWindow() {
    delete sharedGraphic;
    sharedGraphic = nullptr;
    delete gameWindow;
    gameWindow = nullptr;
}
