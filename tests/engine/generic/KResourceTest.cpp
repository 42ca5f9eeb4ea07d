#include "KResource.h"

#include "KLog.h"
#include "KMiscTools.h"

#include "FinishesInTime.h"
#include "TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
// An archive that serves one named file from memory, to show the lookup order.
class MemoryArchive : public KResourceArchive {
public:
    MemoryArchive(std::string name, std::string bytes) : name(std::move(name)), bytes(std::move(bytes)) {}
    int queryResult(int, int, int) override { return K_RES_NOT_SUPPORTED; }
    bool queryFlag(int, int, int) override { return true; }
    bool getFileInfo(const char*, KResourceFileInfo&) override { return false; }
    KResourceFile* openFile(const char*) override { return nullptr; }
    bool loadFile(const char* path, unsigned char*& out, size_t& size) override {
        asked = path;
        if (name != path) return false;
        out = new unsigned char[bytes.size()];
        memcpy(out, bytes.data(), bytes.size());
        size = bytes.size();
        return true;
    }
    std::string name, bytes, asked;
};
} // namespace

TEST(KResource, LoadWholeFileReadsEveryByte) {
    TempFolder temp;
    std::string path = temp.write("data.bin", std::string("\x01\x02\x00\x03", 4));
    unsigned char* bytes = nullptr;
    size_t size = 0;
    ASSERT_TRUE(KResource::loadWholeFile(path, bytes, size));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 3);
    delete[] bytes;
}

TEST(KResource, AnEmptyFileGivesAZeroLengthArray) {
    TempFolder temp;
    std::string path = temp.write("empty", "");
    unsigned char* bytes = nullptr;
    size_t size = 99;
    ASSERT_TRUE(KResource::loadWholeFile(path, bytes, size));
    EXPECT_NE(bytes, nullptr);
    EXPECT_EQ(size, 0u);
    delete[] bytes;
}

TEST(KResource, MissingFilesAndFoldersFailToLoad) {
    TempFolder temp;
    unsigned char* bytes = nullptr;
    size_t size = 0;
    EXPECT_FALSE(KResource::loadWholeFile(temp.file("nothing"), bytes, size));
    EXPECT_EQ(bytes, nullptr);
    EXPECT_FALSE(KResource::loadWholeFile(temp.path(), bytes, size));
    EXPECT_EQ(bytes, nullptr);

    KResource resource;
    EXPECT_EQ(resource.open(temp.file("nothing")), K_RES_OPEN_FAILED);
    EXPECT_EQ(resource.getFile(), nullptr);
    // Linux lets a folder be opened as a file; the resource layer does not.
    EXPECT_EQ(resource.open(temp.path()), K_RES_OPEN_FAILED);
    EXPECT_EQ(resource.getFile(), nullptr);
}

TEST(KResource, DirectArchiveReportsFileInfoAndItsFixedAnswers) {
    TempFolder temp;
    std::string path = temp.write("seven", "1234567");
    KResourceArchiveDirect direct;
    EXPECT_EQ(direct.queryResult(0, 0, 0), K_RES_NOT_SUPPORTED);
    EXPECT_TRUE(direct.queryFlag(0, 0, 0));

    KResourceFileInfo info;
    ASSERT_TRUE(direct.getFileInfo(path.c_str(), info));
    EXPECT_EQ(info.isFolder, 0);
    EXPECT_EQ(info.size, 7u);
    EXPECT_GT(info.modificationTime, 0);
    ASSERT_TRUE(direct.getFileInfo(temp.path().c_str(), info));
    EXPECT_EQ(info.isFolder, 1);
    EXPECT_FALSE(direct.getFileInfo(temp.file("missing").c_str(), info));
}

TEST(KResource, VerboseLookupLogsWhereEachFileCameFrom) {
    TempFolder temp;
    std::string path = temp.write("v.txt", "v");
    KLog::clearMemoryBuffer();
    KResource::verbose = true;
    KResource found, missing;
    found.open(path);
    missing.open(temp.file("gone"));
    KResource::verbose = false;
    std::string log(KLog::memoryBuffer(), KLog::memoryBufferUsed());
    EXPECT_NE(log.find("Resource: opened '" + path + "' (filesystem)\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Resource: failed to open '" + temp.file("gone") + "'\n"), std::string::npos) << log;

    KLog::clearMemoryBuffer();
    KResource quiet;
    quiet.open(temp.file("gone"));
    EXPECT_EQ(KLog::memoryBufferUsed(), 0u);
}

TEST(KResource, ABackslashIsAnOrdinaryCharacterOfAFileName) {
    TempFolder temp;
    temp.write("a\\b.lvl", "ab");
    temp.write("sub/f.txt", "abc");
    temp.write("x.lvl", "outside");
    temp.write("d/e/keep", "");
    unsigned char* bytes = nullptr;
    size_t size = 0;
    ASSERT_TRUE(KResource::loadWholeFile(temp.file("a\\b.lvl"), bytes, size)) << "a name with a backslash opens";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "ab");
    delete[] bytes;
    KResource resource;
    EXPECT_EQ(resource.open(temp.file("a\\b.lvl")), K_RES_OK);
    // A backslash never separates folders, so no name leads out of the folder it is looked up in.
    EXPECT_FALSE(KResource::loadWholeFile(temp.file("d/e/..\\..\\x.lvl"), bytes, size));
    EXPECT_EQ(resource.open(temp.file("d/e/..\\..\\x.lvl")), K_RES_OPEN_FAILED);
    EXPECT_EQ(resource.open(temp.path() + "\\sub\\f.txt"), K_RES_OPEN_FAILED);
}

TEST(KResource, APipeIsRefusedAtOnceAndNeverWaitedOn) {
    TempFolder temp;
    const std::string pipe = temp.file("pipe.png");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_STREQ(finishesInTime([&] {
                     unsigned char* bytes = nullptr;
                     size_t size = 0;
                     EXPECT_FALSE(KResource::loadWholeFile(pipe, bytes, size));
                     EXPECT_EQ(bytes, nullptr);
                     KResource resource;
                     EXPECT_EQ(resource.open(pipe), K_RES_OPEN_FAILED);
                     EXPECT_EQ(resource.getFile(), nullptr);
                 }),
                 "finished");
}

TEST(KResource, FileReadsSeeksAndTellsWithTheResultCodes) {
    TempFolder temp;
    std::string path = temp.write("ten", "0123456789");
    KResource resource;
    ASSERT_EQ(resource.open(path), K_RES_OK);
    KResourceFile* file = resource.getFile();
    char buffer[10];
    long position = -1;
    EXPECT_EQ(file->seek(-4, 2), K_RES_OK);
    EXPECT_EQ(file->tell(position), K_RES_OK);
    EXPECT_EQ(position, 6);
    EXPECT_EQ(file->read(buffer, 10), K_RES_READ_ERROR); // only 4 bytes left
    EXPECT_EQ(file->seek(2, 0), K_RES_OK);
    EXPECT_EQ(file->seek(1, 1), K_RES_OK);
    EXPECT_EQ(file->read(buffer, 2), K_RES_OK);
    EXPECT_EQ(std::string(buffer, 2), "34");
    EXPECT_EQ(file->seek(0, 7), K_RES_READ_ERROR);
    EXPECT_EQ(file->read(buffer, 0), K_RES_OK);

    // A file with no stream behind it.
    KResourceFileDirect closed(nullptr);
    EXPECT_EQ(closed.read(buffer, 1), K_RES_READ_ERROR);
    EXPECT_EQ(closed.read(buffer, 0), K_RES_OK);
    EXPECT_EQ(closed.seek(0, 0), K_RES_READ_ERROR);
    EXPECT_EQ(closed.tell(position), K_RES_READ_ERROR);
}

TEST(KResource, MountedArchivesAreAskedFirstWithDataRelativeNames) {
    TempFolder temp;
    std::string onDisk = temp.write("disk.txt", "disk");
    auto* archive = new MemoryArchive("gfx/a.png", "packed");
    KResource::mountArchive(archive);

    unsigned char* bytes = nullptr;
    size_t size = 0;
    std::string dataPath = KMiscTools::getDataFolder() + "/gfx/a.png";
    ASSERT_TRUE(KResource::loadWholeFile(dataPath, bytes, size));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "packed");
    delete[] bytes;

    // A name the archive lacks falls through to the file system.
    ASSERT_TRUE(KResource::loadWholeFile(onDisk, bytes, size));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), "disk");
    delete[] bytes;

    KResource::mountedArchives().unlink(archive);
    delete archive;
}
