#include "KMiscTools.h"

#include "HostSystem.h"
#include "KLog.h"
#include "SaveFiles.h"
#include "TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
// The log as the static system tools left it, read before any test can clear it.
class StartUpLog : public testing::Environment {
public:
    void SetUp() override { text.assign(KLog::memoryBuffer(), KLog::memoryBufferUsed()); }
    static inline std::string text;
};
testing::Environment* const startUpLog = testing::AddGlobalTestEnvironment(new StartUpLog);

// Restores an environment variable when the test ends.
class EnvironmentVariable {
public:
    explicit EnvironmentVariable(const char* name) : name(name) {
        const char* value = getenv(name);
        wasSet = value != nullptr;
        if (value) saved = value;
    }
    ~EnvironmentVariable() {
        if (wasSet)
            setenv(name, saved.c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    bool wasSet;
    std::string saved;
};
} // namespace

TEST(KMiscTools, StartUpHasLoggedTheSystemAndTheDataFolder) {
    EXPECT_FALSE(KMiscTools::getOsDescription().empty());
    EXPECT_EQ(KMiscTools::getDataFolder(), host::executableFolder());
    EXPECT_FALSE(KMiscTools::getDataFolder().empty());
    EXPECT_NE(host::currentThreadCpuMask(), 0u);
    // Each line with its time ("hh:mm:ss: "), in the order the system tools start.
    const std::vector<std::string> lines = {
        "System: running on " + KMiscTools::getOsDescription(),
        "System: using high-performance counter",
        "System: data path is " + KMiscTools::getDataFolder(),
    };
    const std::string& log = StartUpLog::text;
    size_t from = 0;
    for (const std::string& line : lines) {
        const size_t at = log.find(line + "\n", from);
        ASSERT_NE(at, std::string::npos) << line << " in:\n" << log;
        ASSERT_GE(at, 10u);
        EXPECT_EQ(log[at - 2], ':') << line;
        EXPECT_EQ(log[at - 1], ' ') << line;
        from = at + line.size();
    }
}

TEST(KMiscTools, ClockCountsMillisecondsForward) {
    int before = KMiscTools::getMilliseconds();
    host::sleepMilliseconds(30);
    int after = KMiscTools::getMilliseconds();
    EXPECT_GE(after - before, 29);
    EXPECT_LT(after - before, 1000);
}

TEST(KMiscTools, MakeDataPathPlacesNamesUnderTheDataFolder) {
    const std::string data = KMiscTools::getDataFolder();
    struct Case {
        const char* name;
        std::string expected;
    } cases[] = {
        {"/gfx/a.png", data + "/gfx/a.png"},
        {"gfx\\a.png", data + "/gfx/a.png"},
        {"\\gfx/a.png", data + "/gfx/a.png"},
        {":gfx", data + "/gfx"},
        {"C:/x/y", "C:/x/y"},
        {"C:\\x\\y", "C:/x/y"},
        {"", data + "/"},
        {"//twice", data + "//twice"}, // only one leading separator is skipped
    };
    for (const Case& c : cases) EXPECT_EQ(KMiscTools::makeDataPath(c.name), c.expected) << c.name;
}

TEST(KMiscTools, MakeHighResNameInsertsThePrefixBeforeTheFileName) {
    EXPECT_EQ(makeHighResName("gfx/title.png"), "gfx/ipad3res_title.png");
    EXPECT_EQ(makeHighResName("a\\b\\c.jpg"), "a\\b\\ipad3res_c.jpg");
    EXPECT_EQ(makeHighResName("title.png"), "ipad3res_title.png");
    EXPECT_EQ(makeHighResName("/abs/x.png"), "/abs/ipad3res_x.png");
}

TEST(KMiscTools, AppDataFolderFollowsXdgDataHomeAndIsCreated) {
    TempFolder temp;
    std::string wanted = temp.file("xdg/data");
    EnvironmentVariable xdg("XDG_DATA_HOME"), home("HOME");
    setenv("XDG_DATA_HOME", wanted.c_str(), 1);
    EXPECT_EQ(KMiscTools::getAppDataFolder(), wanted);
    struct stat info;
    EXPECT_EQ(stat(wanted.c_str(), &info), 0);

    // Unset, empty and relative values all fall back to the home folder's ~/.local/share.
    setenv("HOME", temp.path().c_str(), 1);
    for (const char* value : {"", "relative/data"}) {
        setenv("XDG_DATA_HOME", value, 1);
        EXPECT_EQ(KMiscTools::getAppDataFolder(), temp.path() + "/.local/share") << value;
    }
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(KMiscTools::getAppDataFolder(), temp.path() + "/.local/share");
    EXPECT_EQ(stat((temp.path() + "/.local/share").c_str(), &info), 0);
}

TEST(KMiscTools, EnumerateFolderListsEveryEntrySortedAndStopsOnRequest) {
    TempFolder temp;
    temp.write("b.lvl", "x");
    temp.write("a.lvl", "x");
    temp.write("sub/c.lvl", "x");
    std::vector<std::string> names;
    std::vector<bool> folders;
    KMiscTools::enumerateFolder(
        [&](const std::string& name, bool isFolder) {
            names.push_back(name);
            folders.push_back(isFolder);
            return true;
        },
        temp.path());
    EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a.lvl", "b.lvl", "sub"}));
    EXPECT_EQ(folders, (std::vector<bool>{true, true, false, false, true}));

    int calls = 0;
    KMiscTools::enumerateFolder([&](const std::string&, bool) { return ++calls < 2; }, temp.path());
    EXPECT_EQ(calls, 2);

    calls = 0;
    KMiscTools::enumerateFolder([&](const std::string&, bool) { return ++calls > 0; }, temp.file("missing"));
    EXPECT_EQ(calls, 0);
}

TEST(KMiscTools, MessageBoxReachesTheInstalledHandlerAndTheLog) {
    std::string caption, text;
    host::setMessageBoxHandler([&](const std::string& c, const std::string& t) {
        caption = c;
        text = t;
    });
    KLog::clearMemoryBuffer();
    EXPECT_EQ(KMiscTools::messageBox("Failed to Load Picture", "File \"x.png\" failed to load"), 1);
    host::setMessageBoxHandler(nullptr);
    EXPECT_EQ(caption, "Failed to Load Picture");
    EXPECT_EQ(text, "File \"x.png\" failed to load");
    EXPECT_NE(std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed()).find("Failed to Load Picture"),
              std::string::npos);
}

TEST(KMiscTools, WriteFileReplacingSwapsInTheNewBytesOrKeepsTheOld) {
    TempFolder temp;
    std::string path = temp.write("options", "old");
    ASSERT_TRUE(KMiscTools::writeFileReplacing(path, "new bytes", 9));
    std::ifstream in(path, std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(contents, "new bytes");

    // A folder that does not exist: the write fails with a line that names the file and why, and leaves no
    // temporary file anywhere.
    KLog::clearMemoryBuffer();
    EXPECT_FALSE(KMiscTools::writeFileReplacing(temp.file("missing/options"), "x", 1));
    EXPECT_NE(std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed())
                  .find("System: cannot write '" + temp.file("missing/options") +
                        "' (No such file or directory), the old file is kept, FAILED"),
              std::string::npos);
    // A path that is a folder cannot be replaced by a file: the folder stays.
    std::string folder = temp.file("sub");
    temp.write("sub/keep", "k");
    EXPECT_FALSE(KMiscTools::writeFileReplacing(folder, "x", 1));
    struct stat info;
    EXPECT_EQ(stat((folder + "/keep").c_str(), &info), 0);
    EXPECT_TRUE(temporariesBeside(folder).empty());
}
