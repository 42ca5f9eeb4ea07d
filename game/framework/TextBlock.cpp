// The text block's line breaking and drawing.
#include "TextBlock.h"

#include "KTextFace.h"

TextBlock::TextBlock(const std::string& blockText, int bx, int by, int width, int step, KTextFace* face, int spacing)
    : text(blockText), x(bx), y(by), maxWidth(width), lineStep(step), font(face), letterSpacing(spacing) {
    const int32_t length = int32_t(text.size());
    int32_t lineStart = 0, lastCandidate = -1; // no blank seen yet
    for (int32_t pos = 0; pos < length; pos++) {
        const char c = text[size_t(pos)];
        const bool blank = c == ' ' || c == '\n';
        if (!blank && pos != length - 1) continue;
        // The last word is measured with its last character, so it never reaches past the width.
        const bool tooWide = widthOf(lineStart, blank ? pos : length) > float(maxWidth);
        // A break goes after the last blank that follows a word of this line.
        const bool canBreak =
            lastCandidate >= lineStart && text.find_first_not_of(' ', size_t(lineStart)) < size_t(lastCandidate);
        if (tooWide && canBreak) {
            // Break after that blank and measure the rest again from the start of the new line.
            lineBreaks.push_back(lastCandidate + 1);
            lineStart = lastCandidate + 1;
            lastCandidate = lineStart - 1;
            pos = lineStart - 1;
            continue;
        }
        if (c == '\n') {
            lineBreaks.push_back(pos);
            lineStart = pos;
        } else if (tooWide && blank) {
            // A single word wider than the block stays whole on its own line.
            lineBreaks.push_back(pos);
            lineStart = pos;
        }
        lastCandidate = pos;
    }
    lineBreaks.push_back(length);
    int32_t from = 0;
    for (int32_t to : lineBreaks) {
        std::string piece = text.substr(size_t(from), size_t(to - from));
        const size_t first = piece.find_first_not_of(' ');
        lines.push_back(first == std::string::npos ? std::string() : piece.substr(first));
        from = to;
    }
}

float TextBlock::widthOf(int32_t from, int32_t to) const {
    if (!font || to <= from) return 0;
    return font->getStringWidth(text.substr(size_t(from), size_t(to - from)).c_str(), float(letterSpacing));
}

std::string TextBlock::line(int n) const {
    return n >= 0 && size_t(n) < lines.size() ? lines[size_t(n)] : std::string();
}

void TextBlock::draw() {
    if (!font) return;
    int currentY = y;
    for (const std::string& shown : lines) {
        font->drawString(shown.c_str(), x, currentY, float(letterSpacing));
        currentY += lineStep;
    }
}
