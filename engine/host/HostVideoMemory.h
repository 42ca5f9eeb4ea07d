// Stand-in for the display-driver query of the total video memory, made once when the game window opens.
// The window compares the figure with its minimum requirement and falls back to the texture-memory figure
// when it is 0.
#pragma once

#include <cstdint>
#include <optional>

namespace host {

// Total video memory in bytes, or 0 when no figure is known. Figures above 4095 MB are reported as
// 4095 MB, so that the callers' rounding up to KB and MB stays inside 32 bits.
uint32_t queryVideoMemory();

// Tests replace the figure the query reports; nullopt goes back to asking the system.
void setVideoMemoryOverride(std::optional<uint32_t> bytes);

} // namespace host
