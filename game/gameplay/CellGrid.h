// A grid of cell codes over the level's 64-pixel cells, row-major (index = col + row x cols). Tile layers hold
// 16-bit tile codes (TileGrid); the collision and substance grids hold byte codes (ByteGrid).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

template <typename Code> class CellGrid {
public:
    int32_t cols() const { return width; }
    int32_t rows() const { return height; }
    bool contains(int32_t col, int32_t row) const { return col >= 0 && col < width && row >= 0 && row < height; }

    // The code of a cell; 0 for a cell outside the grid.
    Code get(int32_t col, int32_t row) const { return contains(col, row) ? cells[index(col, row)] : Code(0); }
    // Sets a cell; a cell outside the grid is left alone.
    void set(int32_t col, int32_t row, Code code) {
        if (contains(col, row)) cells[index(col, row)] = code;
    }

    // A new zero-filled grid of the given size (negative sizes give an empty grid).
    void reset(int32_t newCols, int32_t newRows) {
        width = std::max<int32_t>(newCols, 0);
        height = std::max<int32_t>(newRows, 0);
        cells.assign(size_t(width) * size_t(height), Code(0));
    }
    // The new size, zero-filled, keeping the overlapping block of the old cells; what falls outside is lost.
    void resize(int32_t newCols, int32_t newRows) {
        if (newCols == width && newRows == height) return;
        CellGrid old = std::move(*this);
        reset(newCols, newRows);
        const int32_t keepCols = std::min(width, old.width), keepRows = std::min(height, old.height);
        for (int32_t row = 0; row < keepRows; row++)
            std::copy_n(old.cells.begin() + std::ptrdiff_t(old.index(0, row)), keepCols,
                        cells.begin() + std::ptrdiff_t(index(0, row)));
    }
    // Every cell to 0, the size kept.
    void clear() { std::fill(cells.begin(), cells.end(), Code(0)); }

    // The cells in row-major order (cols() x rows() codes), for the level file's reader and writer.
    Code* data() { return cells.data(); }
    const Code* data() const { return cells.data(); }

private:
    size_t index(int32_t col, int32_t row) const { return size_t(col) + size_t(row) * size_t(width); }

    int32_t width = 0, height = 0;
    std::vector<Code> cells;
};

using TileGrid = CellGrid<uint16_t>;
using ByteGrid = CellGrid<uint8_t>;
