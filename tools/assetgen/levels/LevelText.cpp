// The level text parser: reads a level file line by line into a LevelText and stops at the first error with the
// file name, the line number and what is wrong.
#include "LevelText.h"

#include "EntityType.h"
#include "LevelFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

// The tile sets by the names a level file gives them, in TileSet order.
const char* const kTileSetNames[] = {"plain", "sunset", "snow", "volcano", "alien"};

// A fault in a file: the line it stands on and what is wrong.
struct TextError {
    int line;
    std::string what;
};

[[noreturn]] void fail(int line, const std::string& what) {
    throw TextError{line, what};
}

std::vector<std::string> splitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string withoutComment(const std::string& line) {
    const size_t hash = line.find('#');
    std::string text = hash == std::string::npos ? line : line.substr(0, hash);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    size_t first = 0;
    while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    return text.substr(first);
}

double number(const std::string& word, int line, const std::string& what) {
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0' || !std::isfinite(value)) fail(line, what + ": '" + word + "' is not a number");
    return value;
}

int32_t wholeNumber(const std::string& word, int line, const std::string& what) {
    const double value = number(word, line, what);
    if (value != std::floor(value) || std::fabs(value) > 1e9)
        fail(line, what + ": '" + word + "' is not a whole number");
    return int32_t(value);
}

double positiveNumber(const std::string& word, int line, const std::string& what) {
    const double value = number(word, line, what);
    if (value <= 0) fail(line, "the " + what + " is above 0");
    return value;
}

// The words of a line after its keyword, exactly count of them.
void expectCount(const std::vector<std::string>& words, size_t count, int line, const std::string& usage) {
    if (words.size() != count + 1) fail(line, "'" + words[0] + "' takes " + usage);
}

// The options an entity line may carry after its cell, and what each writes into the placement.
enum class Option { Path, Armoured, To, Every, Left, Travel, Rate, OrnamentKind, Weapon, Length, Angle };

struct KindWord {
    const char* word;
    int32_t type;
    std::vector<Option> options;
};

const std::vector<KindWord>& kindWords() {
    static const std::vector<KindWord> kinds = {
        {"player", kEntityZuzevir, {}},
        {"gold", kEntityGoldFish, {}},
        {"missilefish", kEntityLaserFish, {Option::Path}},
        {"turret", kEntityTurret, {}},
        {"mine", kEntityMine, {Option::Armoured}},
        {"autogun", kEntityAutoGun, {}},
        {"bird", kEntityBird, {Option::To}},
        {"eel", kEntityEel, {}},
        {"turtle", kEntityTntTurtle, {Option::Path}},
        {"evilradudod", kEntityEvilZuzevir, {Option::Path}},
        {"roboshark", kEntityRoboShark, {Option::Every, Option::Left}},
        {"drone", kEntityDrone, {Option::Travel, Option::Rate}},
        {"ornament", kEntityOrnament, {Option::OrnamentKind}},
        {"powerup", kEntityPowerup, {Option::Weapon, Option::Length}},
        {"hoop", kEntityHoop, {}},
    };
    return kinds;
}

const char* const kOrnamentKinds[] = {"kelp", "fan", "rock", "rocks"};  // Var 1 = 0 .. 3
const char* const kWeaponNames[] = {"torpedo", "rapid", "sword", "4x"}; // Var 1 = 0 .. 3

int indexOf(const char* const* names, size_t count, const std::string& word) {
    for (size_t i = 0; i < count; ++i)
        if (word == names[i]) return int(i);
    return -1;
}

std::string joined(const char* const* names, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) text += (i ? ", " : "") + std::string(names[i]);
    return text;
}

class Parser {
public:
    Parser(LevelText& level) : level(level) {}

    void parse(const std::vector<std::string>& lines) {
        this->lines = &lines;
        while (next < lines.size()) {
            const int line = int(next) + 1;
            const std::string text = withoutComment(lines[next++]);
            if (text.empty()) continue;
            statement(splitWords(text), line, text);
        }
        finish();
    }

private:
    void statement(const std::vector<std::string>& words, int line, const std::string& text) {
        const std::string& key = words[0];
        if (key == "name") {
            nameLine(text.substr(4), line);
        } else if (key == "tileset") {
            expectCount(words, 1, line, "one of " + joined(kTileSetNames, 5));
            level.tileSet = indexOf(kTileSetNames, 5, words[1]);
            if (level.tileSet < 0) fail(line, "unknown tile set '" + words[1] + "' (" + joined(kTileSetNames, 5) + ")");
            seen["tileset"] = line;
        } else if (key == "seed") {
            expectCount(words, 1, line, "a whole number");
            level.seed = uint32_t(wholeNumber(words[1], line, "seed"));
            seen["seed"] = line;
        } else if (key == "terrain") {
            expectCount(words, 0, line, "no words: the grid follows on the next lines");
            level.terrain = grid(line, "terrain");
            terrainLine = line;
        } else if (key == "decor") {
            expectCount(words, 1, line, "'behind' or 'front', and the grid follows on the next lines");
            if (words[1] != "behind" && words[1] != "front") fail(line, "decor is 'behind' or 'front'");
            std::vector<std::string>& layer = words[1] == "behind" ? level.decorBehind : level.decorFront;
            if (!layer.empty()) fail(line, "a second 'decor " + words[1] + "' grid");
            layer = grid(line, "decor");
            decorLines.push_back(line);
        } else if (key == "scores") {
            modeOnly(LevelTextKind::Stunt, key, line);
            expectCount(words, 3, line, "the bronze, silver and gold trick scores");
            for (int i = 0; i < 3; ++i) level.medalScores[size_t(i)] = wholeNumber(words[size_t(i) + 1], line, "score");
            if (!(0 < level.medalScores[0] && level.medalScores[0] <= level.medalScores[1] &&
                  level.medalScores[1] <= level.medalScores[2]))
                fail(line, "the scores run bronze <= silver <= gold, above 0");
            seen["scores"] = line;
        } else if (key == "timelimit") {
            modeOnly(LevelTextKind::Stunt, key, line);
            expectCount(words, 1, line, "the seconds a Stunt run lasts");
            level.timeLimit = positiveNumber(words[1], line, "time limit");
            seen["timelimit"] = line;
        } else if (key == "times") {
            modeOnly(LevelTextKind::Race, key, line);
            expectCount(words, 3, line, "the bronze, silver and gold times in seconds");
            for (int i = 0; i < 3; ++i) level.medalTimes[size_t(i)] = number(words[size_t(i) + 1], line, "time");
            if (!(level.medalTimes[0] >= level.medalTimes[1] && level.medalTimes[1] >= level.medalTimes[2] &&
                  level.medalTimes[2] > 0))
                fail(line, "the times run bronze >= silver >= gold, above 0");
            seen["times"] = line;
        } else if (key == "endmarker") {
            expectCount(words, 2, line, "the cell COL ROW");
            if (level.hasEndMarker) fail(line, "a second end marker");
            level.hasEndMarker = true;
            level.endCol = number(words[1], line, "column");
            level.endRow = number(words[2], line, "row");
            cellsToCheck.push_back({level.endCol, level.endRow, line, "the end marker"});
        } else if (routeCommand(words, line, text)) {
        } else {
            entity(words, line);
        }
    }

    void nameLine(const std::string& rest, int line) {
        const std::string name = withoutComment(rest);
        if (name.empty()) fail(line, "'name' takes the level's name");
        if (name.size() > 40) fail(line, "the name is longer than 40 characters");
        for (char c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)) && std::string(" '-!,&").find(c) == std::string::npos)
                fail(line, std::string("the name may hold letters, digits, spaces and ' - ! , & but not '") + c + "'");
        level.name = name;
        seen["name"] = line;
    }

    void modeOnly(LevelTextKind kind, const std::string& key, int line) {
        if (level.kind != kind)
            fail(line, "'" + key + "' belongs to " + (kind == LevelTextKind::Stunt ? "Stunt" : "Race") + " levels");
    }

    // The grid rows that follow a grid keyword, up to the first empty line; comment lines are skipped.
    std::vector<std::string> grid(int keywordLine, const std::string& what) {
        std::vector<std::string> rows;
        std::vector<int> rowLines;
        while (next < lines->size()) {
            const std::string& raw = (*lines)[next];
            const std::string text = withoutComment(raw);
            if (text.empty()) {
                if (raw.find('#') == std::string::npos) break;
                ++next;
                continue;
            }
            const int line = int(next) + 1;
            ++next;
            if (!rows.empty() && text.size() != rows.front().size())
                fail(line, what + " row of " + std::to_string(text.size()) + " cells where the first has " +
                               std::to_string(rows.front().size()));
            for (size_t col = 0; col < text.size(); ++col) {
                const char c = text[col];
                const bool known =
                    what == "terrain" ? terrainGroupOfChar(c) >= 0 : c == '.' || !decorTilesOfChar(c).empty();
                if (!known)
                    fail(line,
                         "unknown " + what + " character '" + std::string(1, c) + "' in column " + std::to_string(col));
            }
            rows.push_back(text);
            rowLines.push_back(line);
        }
        if (rows.empty()) fail(keywordLine, "'" + what + "' is followed by no grid rows");
        if (what == "terrain") terrainRowLines = rowLines;
        return rows;
    }

    bool routeCommand(const std::vector<std::string>& words, int line, const std::string& text) {
        static const std::map<std::string, RouteCommand::Kind> kinds = {
            {"go", RouteCommand::Go},        {"clear", RouteCommand::Clear}, {"wait", RouteCommand::Wait},
            {"leap", RouteCommand::Leap},    {"flip", RouteCommand::Flip},   {"dive", RouteCommand::Dive},
            {"repeat", RouteCommand::Repeat}};
        const auto found = kinds.find(words[0]);
        if (found == kinds.end()) return false;
        RouteCommand command;
        command.kind = found->second;
        command.line = line;
        command.text = text;
        switch (command.kind) {
        case RouteCommand::Go:
        case RouteCommand::Clear: {
            const bool clear = command.kind == RouteCommand::Clear;
            expectCount(words, clear ? 3 : 2, line,
                        clear ? "the cell COL ROW and a radius in cells" : "the cell COL ROW");
            command.col = number(words[1], line, "column");
            command.row = number(words[2], line, "row");
            if (clear) command.amount = positiveNumber(words[3], line, "radius");
            cellsToCheck.push_back({command.col, command.row, line, "the route's point"});
            break;
        }
        case RouteCommand::Wait:
            expectCount(words, 1, line, "seconds");
            command.amount = positiveNumber(words[1], line, "wait");
            break;
        case RouteCommand::Leap:
            expectCount(words, 1, line, "the column COL");
            command.col = number(words[1], line, "column");
            leapColumns.push_back({command.col, line});
            break;
        case RouteCommand::Flip:
            expectCount(words, 1, line, "the number of turns");
            command.amount = positiveNumber(words[1], line, "number of turns");
            break;
        case RouteCommand::Dive:
        case RouteCommand::Repeat:
            expectCount(words, 0, line, "no words");
            break;
        }
        level.route.push_back(command);
        return true;
    }

    void entity(const std::vector<std::string>& words, int line) {
        const auto& kinds = kindWords();
        const auto kind =
            std::find_if(kinds.begin(), kinds.end(), [&](const KindWord& k) { return words[0] == k.word; });
        if (kind == kinds.end()) fail(line, "unknown keyword or kind '" + words[0] + "'");
        if (words.size() < 3) fail(line, "'" + words[0] + "' takes its cell COL ROW, then its options");
        EntityPlacement placement;
        placement.type = kind->type;
        const double col = number(words[1], line, "column"), row = number(words[2], line, "row");
        placement.x = cellCentre(col);
        placement.y = cellCentre(row);
        cellsToCheck.push_back({col, row, line, std::string("the ") + kind->word});
        auto allowed = [&](Option option) {
            return option == Option::Angle ||
                   std::find(kind->options.begin(), kind->options.end(), option) != kind->options.end();
        };
        bool hasOrnamentKind = false, hasWeapon = false;
        size_t at = 3;
        // The words an option takes after its keyword.
        auto take = [&](size_t count, const std::string& usage) {
            if (at + count > words.size()) fail(line, "'" + words[at - 1] + "' takes " + usage);
            const size_t first = at;
            at += count;
            return first;
        };
        while (at < words.size()) {
            const std::string& word = words[at++];
            const int ornament = indexOf(kOrnamentKinds, 4, word), weapon = indexOf(kWeaponNames, 4, word);
            if (word == "path" && allowed(Option::Path)) {
                const size_t first = take(4, "two cells: COL ROW COL ROW");
                double cells[4];
                for (size_t i = 0; i < 4; ++i) {
                    cells[i] = number(words[first + i], line, i % 2 ? "row" : "column");
                    placement.vars[i] = cellCentre(cells[i]);
                }
                cellsToCheck.push_back({cells[0], cells[1], line, "the path's first point"});
                cellsToCheck.push_back({cells[2], cells[3], line, "the path's second point"});
            } else if (word == "armoured" && allowed(Option::Armoured)) {
                placement.vars[0] = 1;
            } else if (word == "to" && allowed(Option::To)) {
                placement.vars[0] = cellCentre(number(words[take(1, "the column it flies to")], line, "column"));
            } else if (word == "every" && allowed(Option::Every)) {
                placement.vars[0] = wholeNumber(words[take(1, "whole seconds between passes")], line, "seconds");
            } else if (word == "left" && allowed(Option::Left)) {
                placement.vars[1] = 1;
            } else if (word == "travel" && allowed(Option::Travel)) {
                const double cells = number(words[take(1, "cells to each side")], line, "cells");
                placement.vars[0] = int32_t(std::lround(cells * kTileSize));
            } else if (word == "rate" && allowed(Option::Rate)) {
                placement.vars[1] = wholeNumber(words[take(1, "whole seconds between shots")], line, "seconds");
            } else if (ornament >= 0 && allowed(Option::OrnamentKind)) {
                placement.vars[0] = ornament;
                hasOrnamentKind = true;
            } else if (weapon >= 0 && allowed(Option::Weapon)) {
                placement.vars[0] = weapon;
                hasWeapon = true;
            } else if (word == "length" && allowed(Option::Length)) {
                placement.vars[1] = wholeNumber(words[take(1, "whole seconds")], line, "seconds");
            } else if (word == "angle") {
                placement.rotation = wholeNumber(words[take(1, "whole degrees")], line, "angle");
            } else {
                fail(line, "unknown option '" + word + "' for " + kind->word);
            }
        }
        if (kind->type == kEntityOrnament && !hasOrnamentKind)
            fail(line, "an ornament is one of " + joined(kOrnamentKinds, 4));
        if (kind->type == kEntityPowerup && !hasWeapon) fail(line, "a powerup gives one of " + joined(kWeaponNames, 4));
        level.entities.push_back(placement);
        level.entityLines.push_back(line);
    }

    // The checks that need the whole file: required lines, the grid's shape and the cells named in it.
    void finish() {
        if (level.name.empty() && level.kind != LevelTextKind::Default) fail(0, "no 'name' line");
        if (!seen.count("tileset")) fail(0, "no 'tileset' line");
        if (level.terrain.empty()) fail(0, "no 'terrain' grid");
        if (level.kind == LevelTextKind::Stunt && (!seen.count("scores") || !seen.count("timelimit")))
            fail(0, "a Stunt level needs its 'scores' and 'timelimit' lines");
        if (level.kind == LevelTextKind::Race && !seen.count("times")) fail(0, "a Race level needs its 'times' line");
        if (!seen.count("seed")) {
            // A fixed seed from the name, so the level comes out the same on every build.
            uint32_t hash = 2166136261u;
            for (char c : level.name) hash = (hash ^ uint8_t(c)) * 16777619u;
            level.seed = hash;
        }
        checkTerrain();
        for (const std::vector<std::string>* layer : {&level.decorBehind, &level.decorFront})
            if (!layer->empty() &&
                (layer->size() != level.terrain.size() || layer->front().size() != level.terrain.front().size()))
                fail(decorLines.front(), "a decor grid has the terrain's size, " + std::to_string(level.cols()) +
                                             " x " + std::to_string(level.rows()) + " cells");
        for (const CellUse& use : cellsToCheck) checkCell(use);
        for (const auto& [col, line] : leapColumns)
            if (col < 0 || col >= level.cols()) fail(line, "column " + std::to_string(col) + " lies outside the level");
        int players = 0;
        for (size_t i = 0; i < level.entities.size(); ++i)
            if (level.entities[i].type == kEntityZuzevir && ++players > 1)
                fail(level.entityLines[i], "a second player start");
        if (players == 0) fail(0, "no 'player' line: every level has one player start");
        if (level.kind == LevelTextKind::Action && !level.hasEndMarker)
            fail(0, "no 'endmarker' line: an Action level ends there");
    }

    void checkTerrain() {
        int surfaceRows = 0;
        for (int row = 0; row < level.rows(); ++row) {
            const std::string& cells = level.terrain[size_t(row)];
            const bool surface = cells.find('~') != std::string::npos;
            if (surface) {
                if (++surfaceRows > 1) fail(terrainRowLines[size_t(row)], "a second water surface row ('~')");
                if (cells.find('.') != std::string::npos)
                    fail(terrainRowLines[size_t(row)], "the open cells of the surface row are all '~'");
                level.surfaceRow = row;
            }
        }
        if (surfaceRows == 0) fail(terrainLine, "the terrain has no water surface row: mark its open cells '~'");
        // Closed sides and floor: nothing can leave the level, where there is no ground and no water to hold it.
        for (int row = 0; row < level.rows(); ++row) {
            const std::string& cells = level.terrain[size_t(row)];
            if (terrainGroupOfChar(cells.front()) <= 0 || terrainGroupOfChar(cells.back()) <= 0)
                fail(terrainRowLines[size_t(row)], "the first and last columns are terrain in every row");
        }
        for (char c : level.terrain.back())
            if (terrainGroupOfChar(c) <= 0) fail(terrainRowLines.back(), "the bottom row is terrain in every column");
        if (level.rows() < 12 || level.cols() < 14)
            fail(terrainLine, "a level is at least 14 cells wide and 12 high (one screen)");
    }

    struct CellUse {
        double col, row;
        int line;
        std::string what;
    };

    void checkCell(const CellUse& use) {
        const int col = int(std::floor(use.col + 0.5)), row = int(std::floor(use.row + 0.5));
        if (use.col < 0 || use.row < 0 || use.col > level.cols() - 1 || use.row > level.rows() - 1)
            fail(use.line, use.what + " at " + cellText(use) + " lies outside the level (" +
                               std::to_string(level.cols()) + " x " + std::to_string(level.rows()) + " cells)");
        if (terrainGroupOfChar(level.terrain[size_t(row)][size_t(col)]) > 0)
            fail(use.line, use.what + " at " + cellText(use) + " lies inside terrain");
    }

    static std::string cellText(const CellUse& use) {
        std::ostringstream out;
        out << use.col << " " << use.row;
        return out.str();
    }

    LevelText& level;
    const std::vector<std::string>* lines = nullptr;
    size_t next = 0;
    std::map<std::string, int> seen;
    int terrainLine = 1;
    std::vector<int> terrainRowLines, decorLines;
    std::vector<CellUse> cellsToCheck;
    std::vector<std::pair<double, int>> leapColumns;
};

// The kind and number a level file's place and name give it.
void placeOfFile(const std::string& path, LevelText& level) {
    const std::filesystem::path file(path);
    const std::string folder = file.parent_path().filename().string(), name = file.filename().string();
    if (name == "default.txt") {
        level.kind = LevelTextKind::Default;
        return;
    }
    if (folder == "action")
        level.kind = LevelTextKind::Action;
    else if (folder == "stunt")
        level.kind = LevelTextKind::Stunt;
    else if (folder == "race")
        level.kind = LevelTextKind::Race;
    else
        fail(0, "a level file lies in action/, stunt/ or race/ (or is default.txt)");
    bool wellNamed = name.size() > 7 && std::isdigit(static_cast<unsigned char>(name[0])) &&
                     std::isdigit(static_cast<unsigned char>(name[1])) && name[2] == '-' &&
                     name.substr(name.size() - 4) == ".txt";
    for (size_t i = 3; wellNamed && i + 4 < name.size(); ++i)
        wellNamed = std::islower(static_cast<unsigned char>(name[i])) ||
                    std::isdigit(static_cast<unsigned char>(name[i])) || name[i] == '-';
    if (!wellNamed) fail(0, "a level file is named NN-words.txt (two digits, then lower-case words joined by '-')");
    level.number = (name[0] - '0') * 10 + (name[1] - '0');
    if (level.number == 0) fail(0, "level numbers start at 01");
}

} // namespace

int terrainGroupOfChar(char c) {
    switch (c) {
    case '.':
    case '~':
        return kTerrainOpen;
    case 's':
        return 1; // sand
    case 'r':
        return 2; // rock
    case 'd':
        return 3; // dark rock
    case 'c':
        return 4; // coral
    case 'k':
        return 5; // the second coral
    default:
        return -1;
    }
}

const std::vector<uint16_t>& decorTilesOfChar(char c) {
    // The island pieces of the sand sheet (codes 217 .. 236); a mirrored copy is picked now and then.
    static const std::map<char, std::vector<uint16_t>> tiles = {
        {'<', {217}},                          // the left end of an island
        {'=', {219, 220}},                     // its flat middle
        {'>', {221}},                          // its right end
        {'t', {223, 224}},                     // a palm trunk standing on sand
        {'p', {225, 226}},                     // a palm crown
        {'b', {227, 228}},                     // a low bush on sand
        {'o', {229, 230}},                     // a stone
        {'g', {231, 232, 233, 234, 235, 236}}, // a tuft of grass
    };
    static const std::vector<uint16_t> none;
    const auto found = tiles.find(c);
    return found == tiles.end() ? none : found->second;
}

std::string kindWordOf(int32_t type) {
    for (const KindWord& kind : kindWords())
        if (kind.type == type) return kind.word;
    return std::to_string(type);
}

int32_t cellCentre(double cell) {
    return int32_t(std::lround(cell * kTileSize)) + kTileSize / 2;
}

int32_t LevelText::gameMode() const {
    if (kind == LevelTextKind::Stunt) return kGameModeStunt;
    if (kind == LevelTextKind::Race) return kGameModeRace;
    return kGameModeAction;
}

std::string LevelText::outputPath() const {
    if (kind == LevelTextKind::Default) return "levels/default.lvl";
    const char* folder = kind == LevelTextKind::Action  ? "levels/"
                         : kind == LevelTextKind::Stunt ? "stuntlevels/"
                                                        : "racelevels/";
    const std::string digits = std::string(1, char('0' + number / 10)) + char('0' + number % 10);
    return folder + digits + "." + name + ".lvl";
}

bool parseLevelText(const std::string& path, LevelText& out, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    LevelText level;
    level.path = path;
    try {
        placeOfFile(path, level);
        Parser(level).parse(lines);
    } catch (const TextError& e) {
        error = path + (e.line > 0 ? ":" + std::to_string(e.line) : std::string()) + ": " + e.what;
        return false;
    }
    out = std::move(level);
    return true;
}

std::vector<std::string> findLevelTextFiles(const std::string& levelsFolder) {
    std::vector<std::string> files;
    const std::filesystem::path root(levelsFolder);
    if (std::filesystem::exists(root / "default.txt")) files.push_back((root / "default.txt").string());
    for (const char* folder : {"action", "stunt", "race"}) {
        std::vector<std::string> found;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(root / folder, ignored))
            if (entry.is_regular_file() && entry.path().extension() == ".txt") found.push_back(entry.path().string());
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}
