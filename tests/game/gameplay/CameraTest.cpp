// The camera: centring on a new subject, the follow with its mouse lead and look-ahead, and the hold on the
// level's bounds, stepped with a fixed frame time.
#include "Camera.h"
#include "TerrainFixture.h"

#include <cstdint>

namespace {

struct Subject : CameraSubject {
    double x = 0, y = 0, vx = 0, vy = 0;
    double getCameraSubjectX() const override { return x; }
    double getCameraSubjectY() const override { return y; }
    double getCameraSubjectVX() const override { return vx; }
    double getCameraSubjectVY() const override { return vy; }
};

class CameraTest : public TerrainTest {
protected:
    void TearDown() override {
        clearCameraTarget();
        TerrainTest::TearDown();
    }
    static void settle(int updates, double mouseX = 400, double mouseY = 300) {
        for (int i = 0; i < updates; i++) updateCamera(1.0 / 64, mouseX, mouseY);
    }
    Subject player;
};

} // namespace

TEST_F(CameraTest, ANewSubjectIsCentredAtOnceAndHeldToTheBounds) {
    player.x = 5000;
    player.y = 2000;
    setCameraTarget(&player);
    EXPECT_EQ(getCameraTarget(), &player);
    EXPECT_EQ(getCameraX(), 4600);
    EXPECT_EQ(getCameraY(), 1700);

    player.x = 100;
    player.y = 4900;
    setCameraTarget(&player);
    EXPECT_EQ(getCameraX(), 0);
    EXPECT_EQ(getCameraY(), 5000 - 600);
}

TEST_F(CameraTest, ACameraAtRestOnAStillSubjectStays) {
    player.x = 5000;
    player.y = 2000;
    setCameraTarget(&player);
    settle(1);
    EXPECT_EQ(getCameraX(), 4600);
    EXPECT_EQ(getCameraY(), 1700);
}

TEST_F(CameraTest, TheMouseLeadsTheView) {
    player.x = 5000;
    player.y = 2000;
    setCameraTarget(&player);
    settle(600, /*mouseX=*/800, /*mouseY=*/0);
    EXPECT_NEAR(getCameraX(), 4600 + 120, 1e-6) << "0.3 of the 400 pixels from the centre to the edge";
    EXPECT_NEAR(getCameraY(), 1700 - 90, 1e-6);
}

TEST_F(CameraTest, TheViewRunsAheadOfAMovingSubject) {
    player.x = 5000;
    player.y = 2000;
    setCameraTarget(&player);
    // A subject moving at 200 pixels per second to the right, moved before each camera update: the view
    // settles where the follow (rate 5) cancels the look-ahead (1.5 s of velocity) less the subject's lead of
    // one step: 5 e = v (1.5 - 1 + 5 dt).
    player.vx = 200;
    const double dt = 1.0 / 64;
    for (int i = 0; i < 300; i++) {
        player.x += player.vx * dt;
        updateCamera(dt, 400, 300);
    }
    EXPECT_NEAR(getCameraX() - (player.x - 400), 200 * (0.5 + 5 * dt) / 5, 1e-6) << "23 pixels ahead";
    EXPECT_NEAR(getCameraY(), 1700, 1e-9);

    // The velocity is blended in per update, whatever the frame time: one update takes a fifth of it.
    setCameraTarget(&player);
    const double before = getCameraX();
    updateCamera(dt, 400, 300);
    EXPECT_NEAR(getCameraX() - before, dt * 1.5 * (200 * 0.2), 1e-9);
}

TEST_F(CameraTest, TheViewNeverLeavesTheBounds) {
    player.x = 9990;
    player.y = 10;
    setCameraTarget(&player);
    settle(100, 800, 0);
    EXPECT_EQ(getCameraX(), 10000 - 800);
    EXPECT_EQ(getCameraY(), 0);

    // Bounds narrower than the screen: the right limit wins, so the view starts left of the bounds.
    tileMap.boundsLeft = 0;
    tileMap.boundsRight = 600;
    tileMap.boundsTop = 100;
    tileMap.boundsBottom = 500;
    clampCamera();
    EXPECT_EQ(getCameraX(), -200);
    EXPECT_EQ(getCameraY(), -100);

    // The lowest bounds a level file can hold still give a view just left of and above them.
    tileMap.boundsLeft = tileMap.boundsRight = tileMap.boundsTop = tileMap.boundsBottom = INT32_MIN;
    clampCamera();
    EXPECT_EQ(getCameraX(), double(INT32_MIN) - 800);
    EXPECT_EQ(getCameraY(), double(INT32_MIN) - 600);
}

TEST_F(CameraTest, WithoutASubjectTheCameraStandsStill) {
    cameraX = 123;
    cameraY = 456;
    settle(10, 800, 600);
    EXPECT_EQ(getCameraX(), 123);
    player.x = 5000;
    setCameraTarget(&player);
    clearCameraTarget();
    const double x = getCameraX();
    settle(10, 800, 600);
    EXPECT_EQ(getCameraX(), x);
    EXPECT_EQ(getCameraTarget(), nullptr);
}
