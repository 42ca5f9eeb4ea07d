#include "HostVideoMemory.h"

#include <gtest/gtest.h>

TEST(HostVideoMemory, ReportsTheOverrideThenGoesBackToTheSystem) {
    uint32_t system = host::queryVideoMemory();
    host::setVideoMemoryOverride(3u << 20);
    EXPECT_EQ(host::queryVideoMemory(), 3u << 20);
    host::setVideoMemoryOverride(0);
    EXPECT_EQ(host::queryVideoMemory(), 0u);
    host::setVideoMemoryOverride(std::nullopt);
    EXPECT_EQ(host::queryVideoMemory(), system);
    EXPECT_LE(system, 4095u << 20);
}
