#include "KDataPaths.h"

#include <gtest/gtest.h>

TEST(KDataPaths, MakeHighResNameInsertsThePrefixBeforeTheFileName) {
    EXPECT_EQ(makeHighResName("gfx/title.png"), "gfx/ipad3res_title.png");
    EXPECT_EQ(makeHighResName("a\\b\\c.jpg"), "a\\b\\ipad3res_c.jpg");
    EXPECT_EQ(makeHighResName("title.png"), "ipad3res_title.png");
    EXPECT_EQ(makeHighResName("/abs/x.png"), "/abs/ipad3res_x.png");
}
