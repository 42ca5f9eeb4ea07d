// The glyph lookup of both text classes: one table of 2048 entries per 2048-code-point block that has glyphs,
// each entry the glyph's record index + 1 (0 = no glyph), found by a short scan of the block ids.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class KGlyphBlocks {
public:
    void clear() { blocks.clear(); }
    void set(uint32_t codePoint, int recordIndex) {
        entriesOf(codePoint >> 11)[codePoint & 2047] = uint32_t(recordIndex + 1);
    }
    // The record index, or -1 when the block is absent or the entry is empty.
    int find(uint32_t codePoint) const {
        uint32_t id = codePoint >> 11;
        for (const Block& block : blocks)
            if (block.id == id) return int(block.entries[codePoint & 2047]) - 1;
        return -1;
    }

private:
    struct Block {
        uint32_t id;
        std::unique_ptr<uint32_t[]> entries;
    };
    uint32_t* entriesOf(uint32_t id) {
        for (Block& block : blocks)
            if (block.id == id) return block.entries.get();
        blocks.push_back({id, std::make_unique<uint32_t[]>(2048)});
        return blocks.back().entries.get();
    }
    std::vector<Block> blocks;
};
