#include "KLog.h"

#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <thread>

namespace {
std::string logged() {
    return std::string(KLog::memoryBuffer(), KLog::memoryBufferUsed());
}

class KLogTest : public ::testing::Test {
protected:
    void SetUp() override { KLog::clearMemoryBuffer(); }
    void TearDown() override { KLog::clearMemoryBuffer(); }
};
} // namespace

TEST_F(KLogTest, PrefixesTheLocalTimeAndEndsTheLine) {
    logMessage("Sound: %s %d, ERROR", "device", 7);
    EXPECT_TRUE(std::regex_match(logged(), std::regex("[0-2][0-9]:[0-5][0-9]:[0-6][0-9]: Sound: device 7, ERROR\n")))
        << logged();
}

TEST_F(KLogTest, CutsAMessageTo2047CharactersBeforeThePrefix) {
    std::string longText(3000, 'x');
    logMessage("%s", longText.c_str());
    std::string line = logged();
    ASSERT_EQ(line.size(), 10u + 2047u + 1u);
    EXPECT_EQ(line.substr(10, 2047), std::string(2047, 'x'));
    EXPECT_EQ(line.back(), '\n');
}

TEST_F(KLogTest, MemoryBufferKeepsTheFirstBytesAndDropsTheRest) {
    // Fill the buffer to 10 bytes short of full: three full lines of 2058 bytes, then one of 2008.
    std::string full(2047, 'a');
    for (int i = 0; i < 3; i++) logMessage("%s", full.c_str());
    std::string rest(KLog::kMemoryBufferSize - 10 - 3 * 2058 - 11, 'b');
    logMessage("%s", rest.c_str());
    ASSERT_EQ(KLog::memoryBufferUsed(), KLog::kMemoryBufferSize - 10);

    logMessage("0123456789abcdefghijklmnop"); // a 37-byte line: only its first 10 bytes fit
    EXPECT_EQ(KLog::memoryBufferUsed(), KLog::kMemoryBufferSize);
    std::string tail(KLog::memoryBuffer() + KLog::kMemoryBufferSize - 10, 10);
    EXPECT_EQ(tail.substr(2, 1), ":"); // the time prefix "hh:mm:ss: " of the cut line

    logMessage("later");
    EXPECT_EQ(KLog::memoryBufferUsed(), KLog::kMemoryBufferSize);
}

TEST_F(KLogTest, LinesFromTwoThreadsNeverMix) {
    // The sound streaming thread logs while the main thread does: each line must arrive whole.
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    KLog::setLogFile(file);
    auto writer = [](char letter) {
        std::string text(300, letter);
        for (int i = 0; i < 400; i++) logMessage("%s", text.c_str());
    };
    std::thread other(writer, 'b');
    writer('a');
    other.join();
    KLog::setLogFile(nullptr);
    rewind(file);
    char line[400];
    int lines = 0;
    while (fgets(line, sizeof line, file)) {
        std::string text = std::string(line).substr(10);
        ASSERT_TRUE(text == std::string(300, 'a') + "\n" || text == std::string(300, 'b') + "\n") << text;
        lines++;
    }
    EXPECT_EQ(lines, 800);
    fclose(file);
}

TEST_F(KLogTest, AnOpenLogFileTakesTheLinesInsteadOfTheBuffer) {
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    KLog::setLogFile(file);
    logMessage("System: to the file");
    KLog::setLogFile(nullptr);
    EXPECT_EQ(KLog::memoryBufferUsed(), 0u);
    rewind(file);
    char line[100] = {};
    ASSERT_NE(fgets(line, sizeof line, file), nullptr);
    EXPECT_STREQ(line + 10, "System: to the file\n");
    fclose(file);
}

TEST_F(KLogTest, EchoWritesTheLineToStandardError) {
    KLog::setEcho(true);
    testing::internal::CaptureStderr();
    logMessage("PNG: echoed");
    std::string err = testing::internal::GetCapturedStderr();
    KLog::setEcho(false);
    EXPECT_EQ(err.substr(10), "PNG: echoed\n");
    EXPECT_EQ(logged().substr(10), "PNG: echoed\n");
}
