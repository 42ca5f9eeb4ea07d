// A block of text word-wrapped to a width once, when it is made, and drawn line by line: the explanations of
// the help pages. Lines break after the last blank that keeps them inside the width, and at every line feed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class KTextFace;

class TextBlock {
public:
    // The face is not owned and must outlive the block; letterSpacing is the extra spacing of every measure
    // and draw.
    TextBlock(const std::string& text, int x, int y, int maxWidth, int lineStep, KTextFace* font, int letterSpacing);
    // Each line from (x, y) down by lineStep, its leading blanks dropped.
    void draw();

    // The character positions where the lines end, the last at the text's length.
    const std::vector<int32_t>& getLineBreaks() const { return lineBreaks; }
    // Line n as it is drawn (leading blanks dropped); empty outside.
    std::string line(int n) const;

private:
    float widthOf(int32_t from, int32_t to) const;

    std::string text;
    int32_t x = 0, y = 0, maxWidth = 0, lineStep = 0;
    KTextFace* font = nullptr;
    int32_t letterSpacing = 0;
    std::vector<int32_t> lineBreaks;
    std::vector<std::string> lines; // as drawn, made once
};
