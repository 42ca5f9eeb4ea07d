// Keeps the engine's layers honest: generic code includes only generic code, platform code only generic, platform
// and host code, host code only host code, and only host code names SDL or OpenGL headers; and no circle of
// includes and calls runs through more than one layer.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {
namespace fs = std::filesystem;

struct EngineFile {
    std::string layer;               // "generic", "platform" or "host"
    std::vector<std::string> quoted; // #include "..."
    std::vector<std::string> angled; // #include <...>
};

// Every engine file by its name (names are unique across the three folders), with its includes.
std::map<std::string, EngineFile> readEngine() {
    std::map<std::string, EngineFile> files;
    const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    for (const char* layer : {"generic", "platform", "host"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(GLIMMERFIN_ENGINE_DIR) / layer)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp" && ext != ".inl") continue;
            EngineFile& file = files[entry.path().filename().string()];
            file.layer = layer;
            std::ifstream in(entry.path());
            std::string line;
            std::smatch match;
            while (std::getline(in, line))
                if (std::regex_search(line, match, include))
                    (match[1] == "\"" ? file.quoted : file.angled).push_back(match[2]);
        }
    }
    return files;
}

std::string stem(const std::string& name) {
    return fs::path(name).stem().string();
}

// The includes, and the calls from a header to the sources of its folder that implement it: a source that
// includes the header and is named after it (KWindowD3D.h -> KWindowD3DPresent.cpp). A header that a lower layer
// declares and a higher one defines (the renderer factory) is an interface filled in from above, like a virtual
// operation: its calls lead to no file.
std::map<std::string, std::set<std::string>> includesAndCalls(const std::map<std::string, EngineFile>& files) {
    std::map<std::string, std::set<std::string>> edges;
    for (const auto& [name, file] : files) {
        edges[name];
        for (const std::string& target : file.quoted) {
            if (!files.count(target)) continue;
            edges[name].insert(target);
            if (fs::path(name).extension() == ".cpp" && fs::path(target).extension() == ".h" &&
                name.rfind(stem(target), 0) == 0 && files.at(target).layer == file.layer)
                edges[target].insert(name);
        }
    }
    return edges;
}

// The strongly connected parts of the graph with more than one file (Tarjan's walk).
std::vector<std::vector<std::string>> circles(const std::map<std::string, std::set<std::string>>& edges) {
    std::map<std::string, int> index, low;
    std::set<std::string> onStack;
    std::vector<std::string> stack;
    std::vector<std::vector<std::string>> found;
    int next = 0;
    std::function<void(const std::string&)> visit = [&](const std::string& v) {
        index[v] = low[v] = next++;
        stack.push_back(v);
        onStack.insert(v);
        for (const std::string& w : edges.at(v)) {
            if (!index.count(w)) {
                visit(w);
                low[v] = std::min(low[v], low[w]);
            } else if (onStack.count(w)) {
                low[v] = std::min(low[v], index[w]);
            }
        }
        if (low[v] != index[v]) return;
        std::vector<std::string> part;
        std::string w;
        do {
            w = stack.back();
            stack.pop_back();
            onStack.erase(w);
            part.push_back(w);
        } while (w != v);
        if (part.size() > 1) {
            std::sort(part.begin(), part.end());
            found.push_back(part);
        }
    };
    for (const auto& entry : edges)
        if (!index.count(entry.first)) visit(entry.first);
    return found;
}
} // namespace

TEST(EngineLayers, EachLayerIncludesOnlyTheLayersBelowIt) {
    const std::map<std::string, EngineFile> files = readEngine();
    ASSERT_GT(files.size(), 100u) << GLIMMERFIN_ENGINE_DIR;
    const std::map<std::string, std::set<std::string>> allowed = {
        {"generic", {"generic"}},
        {"platform", {"generic", "platform", "host"}},
        {"host", {"host"}},
    };
    const std::regex hostOnly(R"(^(SDL2?/|SDL[_.]|GL/|EGL/|KHR/))");
    for (const auto& [name, file] : files) {
        for (const std::string& target : file.quoted) {
            auto found = files.find(target);
            if (found == files.end())
                ADD_FAILURE() << file.layer << "/" << name << " includes \"" << target << "\", which is no engine file";
            else if (!allowed.at(file.layer).count(found->second.layer))
                ADD_FAILURE() << file.layer << "/" << name << " includes " << found->second.layer << "/" << target;
        }
        if (file.layer != "host")
            for (const std::string& target : file.angled)
                EXPECT_FALSE(std::regex_search(target, hostOnly))
                    << file.layer << "/" << name << " includes <" << target << ">, which only host code may";
    }
}

TEST(EngineLayers, NoCircleOfIncludesAndCallsCrossesALayer) {
    const std::map<std::string, EngineFile> files = readEngine();
    for (const std::vector<std::string>& circle : circles(includesAndCalls(files))) {
        std::set<std::string> layers;
        std::string list;
        for (const std::string& name : circle) {
            layers.insert(files.at(name).layer);
            list += " " + files.at(name).layer + "/" + name;
        }
        EXPECT_EQ(layers.size(), 1u) << "a circle of " << circle.size() << " files:" << list;
    }
}
