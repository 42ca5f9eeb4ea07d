// The game's TrueType font set, built on first use and kept for the whole run: 0 bold 24 pt headings,
// 1 regular 20 pt, 2 regular 14 pt, and 3 the same font as 0.
#pragma once

#include <array>
#include <memory>

class TextFont;

class FontSet {
public:
    static FontSet& instance();
    // Font n (0..3), or null outside.
    TextFont* get(int n) const;

    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

private:
    FontSet();
    ~FontSet();

    std::array<std::unique_ptr<TextFont>, 3> owned;
    std::array<TextFont*, 4> fonts{};
};
