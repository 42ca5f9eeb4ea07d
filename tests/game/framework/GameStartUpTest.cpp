// Start-up when the game window cannot be opened: the "Graphics Problem" box, and start-up ends there.
#include "GameOptions.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "KWindowD3D.h"
#include "ProgramStates.h"
#include "TempUserFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(GameStartUp, AWindowThatCannotOpenEndsStartUpWithTheGraphicsProblemBox) {
    TempUserFolder home;
    std::vector<std::pair<std::string, std::string>> boxes;
    host::setMessageBoxHandler(
        [&boxes](const std::string& caption, const std::string& text) { boxes.emplace_back(caption, text); });
    setGameWindowMaker([] {
        auto* window = new KWindowD3D();
        window->setDirect3DFactory([] { return nullptr; }); // no device can be made
        return window;
    });
    const bool started = initGame();
    setGameWindowMaker(nullptr);
    host::setMessageBoxHandler(nullptr);

    EXPECT_FALSE(started);
    EXPECT_EQ(gameWindow, nullptr);
    EXPECT_EQ(currentState, nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, "Graphics Problem");
    EXPECT_EQ(boxes[0].second.find("It appears that your computer doesn't have up to date 3d acceleration.\n"), 0u);
    EXPECT_NE(boxes[0].second.find("OpenGL"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(optionsFilePath())); // the options were read (and made) before the window
}
