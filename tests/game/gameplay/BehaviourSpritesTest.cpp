// Behaviours and special entities over the game's real sprite sheets (recording pictures): shots leave the
// turret's barrel tip, the held sword's grip sits on the muzzle, a hoop's ring is drawn half behind and half
// in front of the player, and the eel's arcs are drawn while it sparks and zaps.
#include "BehaviourWorld.h"

#include "AngleTools.h"
#include "BehaviourTools.h"
#include "Behaviours.h"
#include "FolderPaths.h"
#include "GF_AIZuzevirManual.h"
#include "GF_EntityKinds.h"
#include "GameWindow.h"
#include "HostSystem.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "SpriteSheet.h"
#include "SpriteSheetTable.h"

#include <cmath>
#include <string>

class BehaviourSprites : public BehaviourWorld {
protected:
    void SetUp() override {
        host::setMessageBoxHandler([](const std::string&, const std::string&) {});
        setUpFolders();
        loadSpriteSheets();
        lines = createGraphic();
        sharedGraphic = lines;
        BehaviourWorld::SetUp();
        KGraphicRecorder::clearCalls();
    }
    void TearDown() override {
        BehaviourWorld::TearDown();
        sharedGraphic = nullptr;
        delete lines;
        freeSpriteSheets();
        host::setMessageBoxHandler(nullptr);
    }
    static int countCalls(const char* operation) {
        int n = 0;
        for (const RecordedDraw& call : KGraphicRecorder::calls())
            if (call.operation == operation) n++;
        return n;
    }

    ScopedGraphicRecording recording;
    KGraphic* lines = nullptr;
};

TEST_F(BehaviourSprites, ATurretShotLeavesTheTipOfATurnedBarrel) {
    GF_Entity* player = placePlayer(800, 200);
    GF_Entity* body = place(kEntityTurret, 800, 800, 90);
    auto* turret = static_cast<GF_EntityTurret*>(body);
    const double px = 800 + 400 * std::cos(135 / kDegreesPerRadian);
    const double py = 800 - 400 * std::sin(135 / kDegreesPerRadian);
    GF_Entity* shot = nullptr;
    for (int i = 0; i < 64 * 4 && !shot; i++) {
        player->setPosition(px, py);
        player->vx = player->vy = 0;
        const int before = spawned[kEntityTurretLaser];
        frame();
        if (spawned[kEntityTurretLaser] > before) shot = ofType(kEntityTurretLaser).back();
    }
    ASSERT_NE(shot, nullptr);
    EXPECT_NEAR(angleDifference(turret->barrelAngle, 90), 45, 10);
    EXPECT_NEAR(shot->x, turret->barrelTipX, 1e-9);
    EXPECT_NEAR(shot->y, turret->barrelTipY, 1e-9);
    EXPECT_GT(std::hypot(shot->x - body->x, shot->y - body->y), 20) << "not from the body's centre";
    // The tip lies out along the barrel's direction.
    const double tipAngle = angleToPoint(body->x, body->y, shot->x, shot->y);
    EXPECT_NEAR(angleDifference(tipAngle, turret->barrelAngle), 0, 25);
}

TEST_F(BehaviourSprites, TheHeldSwordsGripSitsOnTheMuzzleAtThePlayersAngle) {
    GF_Entity* player = placePlayer(500, 400, 30);
    mouseAt(500 + 300 * std::cos(30 / kDegreesPerRadian), 400 - 300 * std::sin(30 / kDegreesPerRadian));
    givePlayerWeapon(player, kWeaponSword, 30);
    frames(5);
    GF_Entity* sword = playerControl(player)->sword;
    ASSERT_NE(sword, nullptr);
    double muzzleX, muzzleY, gripX, gripY;
    player->getHotspotPoint(0, muzzleX, muzzleY);
    sword->getHotspotPoint(0, gripX, gripY);
    EXPECT_NEAR(gripX, muzzleX, 1e-6);
    EXPECT_NEAR(gripY, muzzleY, 1e-6);
    EXPECT_GT(std::hypot(muzzleX - player->x, muzzleY - player->y), 10) << "the muzzle is off the centre";
    EXPECT_EQ(sword->angle, player->angle);
}

TEST_F(BehaviourSprites, APlayerDrawsTheHoopsBackHalfThenItselfThenTheFrontHalf) {
    GF_Entity* player = placePlayer(500, 400);
    GF_Entity* hoop = place(kEntityHoop, 520, 400);
    hoop->draw(0, 0);
    KGraphicRecorder::clearCalls();
    player->draw(0, 0);
    const KGraphic* ringPicture = getSpriteSheet(35)->getGraphic();
    std::string order;
    for (const RecordedDraw& call : KGraphicRecorder::calls())
        if (call.operation.rfind("blit", 0) == 0) order += call.picture == ringPicture ? 'h' : 'p';
    EXPECT_EQ(order, std::string(8, 'h') + "p" + std::string(10, 'h'));
}

// Once the dead player has left the grid it draws nothing, so the hoop draws its whole ring itself, back half
// first; nor does the dead player's body pass it.
TEST_F(BehaviourSprites, AHoopDrawsItsOwnRingOnceTheDeadPlayerHasLeftTheGrid) {
    GF_Entity* player = placePlayer(500, 400);
    auto* hoop = static_cast<GF_EntityHoop*>(place(kEntityHoop, 520, 400));
    player->takeDamage(1e9, nullptr);
    for (int i = 0; i < 64 && !player->removed; i++) frame(); // its dying shrink
    ASSERT_TRUE(player->removed);
    EXPECT_FALSE(hoop->passed) << "a dead player's body passes no hoop";
    KGraphicRecorder::clearCalls();
    hoop->draw(0, 0);
    const KGraphic* ringPicture = getSpriteSheet(35)->getGraphic();
    int segments = 0;
    for (const RecordedDraw& call : KGraphicRecorder::calls())
        if (call.operation.rfind("blit", 0) == 0 && call.picture == ringPicture) segments++;
    EXPECT_EQ(segments, 18);
}

TEST_F(BehaviourSprites, TheEelDrawsItsArcsWhileItSparksAndItsStrikeWhileItZaps) {
    GF_Entity* player = placePlayer(600, 400);
    GF_Entity* eel = place(kEntityEel, 500, 400, 0);
    eel->draw(0, 0);
    EXPECT_EQ(countCalls("drawLine"), 0) << "asleep: no arcs";
    for (int i = 0; i < 2; i++) {
        player->setPosition(600, 400);
        player->vx = player->vy = 0;
        frame();
    }
    ASSERT_TRUE(static_cast<GF_EntityEel*>(eel)->zapping);
    KGraphicRecorder::clearCalls();
    eel->draw(0, 0);
    // Idle arcs of 2, 5, 5 points (3 + 6 + 6 lines), box arcs of 3, 5, 3, 5 (4 + 6 + 4 + 6), a strike of 5 (6).
    EXPECT_EQ(countCalls("drawLine"), 15 + 20 + 6);
}
