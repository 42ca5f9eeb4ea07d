// The target locks: adding, removing a torpedo's first lock, removing every lock on a target that leaves
// (its trackers told), clearing, and the lock-on brackets drawn on the shared drawing object.
#include "TargetLockList.h"

#include "EntityType.h"
#include "EntityWorld.h"
#include "GF_AITorpedo1.h"
#include "GameWindow.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "TrickEvents.h"

#include <memory>

namespace {

class TargetLockListTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        clearTargetLocks();
        for (auto& e : entities) e = std::make_unique<GF_Entity>(entityKind(kEntityBird), 100, 100, 0, 0, 0);
    }
    void TearDown() override {
        clearTargetLocks();
        EntityWorld::TearDown();
    }
    GF_Entity* e(int i) { return entities[i].get(); }
    std::unique_ptr<GF_Entity> entities[5];
};

TEST_F(TargetLockListTest, ATorpedoRemovesOnlyItsFirstLock) {
    addTargetLock(e(0), e(3));
    addTargetLock(e(1), e(3));
    addTargetLock(e(0), e(4));
    removeTargetLockOfTracker(e(0));
    ASSERT_EQ(targetLocks.locks().size(), 2u);
    EXPECT_EQ(targetLocks.locks()[0].tracker, e(1));
    EXPECT_EQ(targetLocks.locks()[1].target, e(4));
    removeTargetLockOfTracker(e(2)); // holds none
    EXPECT_EQ(targetLocks.locks().size(), 2u);
}

TEST_F(TargetLockListTest, ATorpedoDeletedWithoutItsRemovalReportStillTakesItsLock) {
    // A shot that leaves the grid is deleted without onRemoved: its behaviour going takes the lock with it.
    auto torpedo = std::make_unique<GF_AITorpedo1>(e(0));
    addTargetLock(e(0), e(3));
    addTargetLock(e(1), e(3));
    torpedo.reset();
    ASSERT_EQ(targetLocks.locks().size(), 1u);
    EXPECT_EQ(targetLocks.locks()[0].tracker, e(1));
}

TEST_F(TargetLockListTest, ATargetLeavingTakesEveryLockOnItAndItsTrackersForgetIt) {
    GF_AITorpedo1 chasing(e(0)), other(e(1));
    chasing.target = e(3);
    other.target = e(4);
    addTargetLock(e(0), e(3));
    addTargetLock(e(1), e(4));
    addTargetLock(e(2), e(3));
    removeTargetLocksOnTarget(e(3));
    ASSERT_EQ(targetLocks.locks().size(), 1u);
    EXPECT_EQ(targetLocks.locks()[0].tracker, e(1));
    EXPECT_EQ(targetLocks.locks()[0].target, e(4));
    EXPECT_EQ(chasing.target, nullptr);
    EXPECT_EQ(other.target, e(4));
    // A lock without a target is never made, so no bracket can point at nothing.
    addTargetLock(e(0), nullptr);
    EXPECT_EQ(targetLocks.locks().size(), 1u);
    clearTargetLocks();
    EXPECT_TRUE(targetLocks.locks().empty());
}

TEST_F(TargetLockListTest, BracketsAtTheInsetCornersWithTwoShadows) {
    ScopedGraphicRecording recording;
    sharedGraphic = createGraphic();
    GF_Entity* target = e(3);
    target->x = 300;
    target->y = 200;
    target->radius = 50;
    addTargetLock(e(0), target);
    KGraphicRecorder::clearCalls();
    drawTargetLocks(/*cameraX=*/100, /*cameraY=*/50);
    const auto calls = KGraphicRecorder::callsOn(static_cast<KGraphicRecorder*>(sharedGraphic));
    delete sharedGraphic;
    sharedGraphic = nullptr;
    // Box 150..250 x 100..200, inset by 10 on each side: 160..240 x 110..190; arms 20 long.
    ASSERT_EQ(calls.size(), 24u);
    auto line = [&](int i) { return std::vector<float>(calls[i].args.begin(), calls[i].args.end()); };
    EXPECT_EQ(line(0), (std::vector<float>{162, 112, 182, 112, 0, 0, 0, 1})) << "black, offset by 2";
    EXPECT_EQ(line(1), (std::vector<float>{162, 112, 162, 132, 0, 0, 0, 1}));
    EXPECT_EQ(line(2), (std::vector<float>{242, 112, 222, 112, 0, 0, 0, 1})) << "top right points left";
    EXPECT_EQ(line(7), (std::vector<float>{242, 192, 242, 172, 0, 0, 0, 1})) << "bottom right points up";
    EXPECT_EQ(line(8), (std::vector<float>{161, 111, 181, 111, 1, 1, 0, 1})) << "yellow, offset by 1";
    EXPECT_EQ(line(16), (std::vector<float>{160, 110, 180, 110, 1, 1, 0, 1})) << "yellow at the corner";
}

} // namespace
