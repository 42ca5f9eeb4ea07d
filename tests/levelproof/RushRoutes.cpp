// The rushers' routes: the straight line, the lane under the waves, and the shortest ways through the level's
// open cells found on its terrain grid, cut into straight legs through open water.
#include "RushRoutes.h"

#include "EntityType.h"
#include "TerrainCodes.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <queue>

namespace {

constexpr int kLeapRows = 3;           // rows above the surface row a leap carries the dolphin through
constexpr double kNearTerrainCost = 3; // a cell beside terrain is partly solid: a rusher keeps off it if it can
constexpr double kEndReach = 2;        // cells: the level completes this near the end marker
constexpr double kSampleStep = 0.25;   // cells between the points of a leg checked for terrain

struct Cell {
    int col, row;
};

// The terrain grid as a swimmer meets it: the open cells in the water, and up to airRows rows above it.
class SwimGrid {
public:
    SwimGrid(const LevelText& level, int airRows) : level(level), airRows(airRows) {}

    int cols() const { return level.cols(); }
    int rows() const { return level.rows(); }
    bool solid(int col, int row) const {
        return col < 0 || row < 0 || col >= cols() || row >= rows() ||
               terrainGroupOfChar(level.terrain[size_t(row)][size_t(col)]) != kTerrainOpen;
    }
    bool passable(int col, int row) const { return !solid(col, row) && row >= level.surfaceRow - airRows; }
    // Passable with no terrain among its eight neighbours: no edge tile, fully open.
    bool clear(int col, int row) const {
        if (!passable(col, row)) return false;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc)
                if (solid(col + dc, row + dr)) return false;
        return true;
    }
    size_t index(Cell c) const { return size_t(c.row) * size_t(cols()) + size_t(c.col); }

private:
    const LevelText& level;
    int airRows;
};

RouteCommand goTo(double col, double row) {
    RouteCommand go;
    go.kind = RouteCommand::Go;
    go.col = col;
    go.row = row;
    char text[48];
    std::snprintf(text, sizeof text, "go %g %g", col, row);
    go.text = text;
    return go;
}

Cell playerStart(const LevelText& level) {
    for (const EntityPlacement& e : level.entities)
        if (e.type == kEntityZuzevir) return {e.x / kTileSize, e.y / kTileSize};
    return {0, 0};
}

// The cheapest path of cells from the start to the cell nearest the end marker within its reach; empty when
// none is reached.
std::vector<Cell> shortestPath(const SwimGrid& grid, Cell start, double endCol, double endRow) {
    const size_t count = size_t(grid.cols()) * size_t(grid.rows());
    std::vector<double> cost(count, std::numeric_limits<double>::infinity());
    std::vector<size_t> from(count, count);
    using Entry = std::pair<double, size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
    if (!grid.passable(start.col, start.row)) return {};
    cost[grid.index(start)] = 0;
    open.push({0, grid.index(start)});
    size_t best = count;
    double bestReach = kEndReach;
    while (!open.empty()) {
        const auto [at, i] = open.top();
        open.pop();
        if (at > cost[i]) continue;
        const Cell c{int(i % size_t(grid.cols())), int(i / size_t(grid.cols()))};
        const double reach = std::hypot(c.col - endCol, c.row - endRow);
        if (reach < bestReach) bestReach = reach, best = i;
        for (int dr = -1; dr <= 1; ++dr)
            for (int dc = -1; dc <= 1; ++dc) {
                const Cell n{c.col + dc, c.row + dr};
                if ((dr == 0 && dc == 0) || !grid.passable(n.col, n.row)) continue;
                // No cutting a corner of terrain on a diagonal step.
                if (dr != 0 && dc != 0 && (!grid.passable(c.col + dc, c.row) || !grid.passable(c.col, c.row + dr)))
                    continue;
                const double step =
                    (dr != 0 && dc != 0 ? M_SQRT2 : 1) * (grid.clear(n.col, n.row) ? 1 : kNearTerrainCost);
                const size_t ni = grid.index(n);
                if (at + step < cost[ni]) {
                    cost[ni] = at + step;
                    from[ni] = i;
                    open.push({cost[ni], ni});
                }
            }
    }
    std::vector<Cell> path;
    for (size_t i = best; i < count; i = from[i])
        path.insert(path.begin(), Cell{int(i % size_t(grid.cols())), int(i / size_t(grid.cols()))});
    return path;
}

// Whether a straight leg between two cells of a path runs through open water all the way.
bool openLeg(const SwimGrid& grid, Cell a, Cell b) {
    const double length = std::hypot(b.col - a.col, b.row - a.row);
    const int samples = int(std::ceil(length / kSampleStep));
    for (int s = 1; s < samples; ++s) {
        const double t = double(s) / samples;
        const int col = int(std::lround(a.col + (b.col - a.col) * t)),
                  row = int(std::lround(a.row + (b.row - a.row) * t));
        if (!grid.clear(col, row)) return false;
    }
    return true;
}

// The path as a route of straight legs: from each point on to the last cell of the path still in open water
// straight ahead. The route ends where the path ends, by the end marker, which the player swims on to.
std::vector<RouteCommand> pathRoute(const SwimGrid& grid, const std::vector<Cell>& path) {
    std::vector<RouteCommand> route;
    size_t at = 0;
    while (at + 1 < path.size()) {
        size_t next = at + 1;
        while (next + 1 < path.size() && openLeg(grid, path[at], path[next + 1])) ++next;
        if (next + 1 < path.size()) route.push_back(goTo(path[next].col, path[next].row));
        at = next;
    }
    return route;
}

bool sameRoute(const std::vector<RouteCommand>& a, const std::vector<RouteCommand>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].text != b[i].text) return false;
    return true;
}

} // namespace

std::vector<RushRoute> rushRoutes(const LevelText& level) {
    const Cell start = playerStart(level);
    std::vector<RushRoute> found;
    auto add = [&](const std::string& name, std::vector<RouteCommand> route) {
        for (const RushRoute& r : found)
            if (sameRoute(r.route, route)) return;
        found.push_back({name, std::move(route)});
    };
    add("straight at the end marker", {});
    const int lane = level.surfaceRow + 1;
    add("along the waves", {goTo(start.col, lane), goTo(level.endCol, lane)});
    const SwimGrid water(level, 0), leaps(level, kLeapRows);
    for (const auto& [name, grid] : {std::pair<const char*, const SwimGrid*>{"the shortest way by water", &water},
                                     {"the shortest way with leaps", &leaps}}) {
        const std::vector<Cell> path = shortestPath(*grid, start, level.endCol, level.endRow);
        if (!path.empty()) add(name, pathRoute(*grid, path));
    }
    return found;
}

LevelText withRoute(const LevelText& level, const RushRoute& rush) {
    LevelText rushed = level;
    rushed.route = rush.route;
    return rushed;
}
