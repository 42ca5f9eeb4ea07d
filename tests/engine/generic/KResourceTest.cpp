#include "KResource.h"

#include "KMiscTools.h"

#include "TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>

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
}

TEST(KResource, BackslashAndSlashNameTheSameFile) {
    TempFolder temp;
    temp.write("sub/f.txt", "abc");
    std::string windowsStyle = temp.path() + "\\sub\\f.txt";
    KResource resource;
    ASSERT_EQ(resource.open(windowsStyle), K_RES_OK);
    char text[3];
    EXPECT_EQ(resource.getFile()->read(text, 3), K_RES_OK);
    EXPECT_EQ(std::string(text, 3), "abc");
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
}

TEST(KResource, MountedArchivesAreAskedFirstWithDataRelativeNames) {
    TempFolder temp;
    std::string onDisk = temp.write("disk.txt", "disk");
    auto* archive = new MemoryArchive("gfx/a.png", "packed");
    KResource::mountArchive(archive);

    unsigned char* bytes = nullptr;
    size_t size = 0;
    std::string dataPath = KMiscTools::getDataFolder() + "\\gfx\\a.png";
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
