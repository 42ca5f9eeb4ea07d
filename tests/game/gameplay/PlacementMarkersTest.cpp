// The editor's placement markers: a record is marked only when it lies near the view, wherever in the 32-bit
// range a level file put it and wherever the view stands.
#include "EntityWorld.h"

#include "../framework/TempUserFolder.h"

#include "BitmapFonts.h"
#include "EntityType.h"
#include "GameWindow.h"
#include "KGraphicFactory.h"
#include "KGraphicRecorder.h"
#include "PlacementList.h"

#include <limits>

class PlacementMarkersTest : public EntityWorld {
protected:
    void SetUp() override {
        EntityWorld::SetUp();
        loadBitmapFonts();
        sharedGraphic = createGraphic();
    }
    void TearDown() override {
        delete sharedGraphic;
        sharedGraphic = nullptr;
        freeBitmapFonts();
        EntityWorld::TearDown();
    }
    // The boxes filled by the markers drawn for the list at the view.
    static int markersDrawn(const PlacementList& list, double cameraX, double cameraY) {
        KGraphicRecorder::clearCalls();
        list.drawPlacementMarkers(cameraX, cameraY);
        int boxes = 0;
        for (const RecordedDraw& call : KGraphicRecorder::calls())
            if (call.picture == sharedGraphic && call.operation == "fillRect") boxes++;
        return boxes;
    }

    ScopedGraphicRecording recording;
    TempUserFolder home; // the fonts' pictures are found through the game's folders
};

TEST_F(PlacementMarkersTest, OnlyRecordsNearTheViewAreMarkedWhereverTheyLie) {
    constexpr int32_t low = std::numeric_limits<int32_t>::min(), high = std::numeric_limits<int32_t>::max();
    PlacementList list;
    for (int32_t x : {low, high})
        for (int32_t y : {low, 300, high}) list.addPlacement(kEntityMine, x, y);
    list.addPlacement(kEntityMine, 300, low);
    list.addPlacement(kEntityMine, 300, high);
    EXPECT_EQ(markersDrawn(list, 0, 0), 0);
    EXPECT_EQ(markersDrawn(list, 100000, 100000), 0);
    EXPECT_EQ(markersDrawn(list, -100000, -100000), 0);
    list.addPlacement(kEntityMine, 300, 300);
    EXPECT_EQ(markersDrawn(list, 0, 0), 1);
    EXPECT_EQ(markersDrawn(list, 100000, 100000), 0);
}
