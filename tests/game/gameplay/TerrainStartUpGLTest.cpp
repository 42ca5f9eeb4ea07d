// Start-up and shutdown on a real window bring up and release the terrain tables and the cheat list: the
// tile definitions draw from the loaded theme sheets, the default level exists, and every cheat starts off.
#include "CheatList.h"
#include "CollisionShape.h"
#include "GameShell.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "KWindow.h"
#include "SpriteAnimation.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"
#include "TerrainCodes.h"
#include "TileDefinition.h"
#include "TileMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(TerrainStartUp, StartUpBuildsTheTablesAndShutdownFreesThem) {
    std::vector<std::string> boxes;
    host::setMessageBoxHandler([&](const std::string& caption, const std::string&) { boxes.push_back(caption); });
    ASSERT_TRUE(initGame());
    ASSERT_NE(getTileDefinition(300), nullptr);
    bool flipX, flipY;
    EXPECT_EQ(getTileDefinition(81)->animation->currentSheetFrame(flipX, flipY), getSpriteSheet(6)->getFrame(0));
    ASSERT_NE(getTileLayer(kLayerFront4), nullptr);
    EXPECT_EQ(tileMap.collisionGrid.cols(), 156);
    EXPECT_NE(getCollisionShape(kShapeFull), nullptr);
    ASSERT_EQ(CheatList.size(), size_t(kCheatCount));
    EXPECT_FALSE(anyCheatOn());

    gameWindow->terminate();
    shutdownGame();
    EXPECT_EQ(getTileDefinition(0), nullptr);
    EXPECT_EQ(getTileLayer(kLayerFront4), nullptr);
    EXPECT_EQ(getCollisionShape(kShapeFull), nullptr);
    EXPECT_TRUE(CheatList.empty());
    EXPECT_TRUE(boxes.empty()) << boxes.front();
    host::setMessageBoxHandler(nullptr);
    host::clearQuitPosted();
}
