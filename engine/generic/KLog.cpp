// Engine log: formatting, the time prefix, and the file / memory-buffer / echo sinks.
#include "KLog.h"

#include <cstdarg>
#include <cstring>
#include <ctime>
#include <mutex>

namespace {
// The sound streaming thread logs too, so every line is built and stored under one lock.
std::mutex logLock;
FILE* logFile = nullptr;
bool echoToStderr = false;
char memory[KLog::kMemoryBufferSize];
size_t memoryUsed = 0;
} // namespace

void logMessage(const char* format, ...) {
    std::lock_guard<std::mutex> guard(logLock);
    static char message[KLog::kMessageCapacity + 1];
    static char line[KLog::kMessageCapacity + 12]; // "hh:mm:ss: " + message + "\n" + terminator

    va_list args;
    va_start(args, format);
    if (vsnprintf(message, sizeof message, format, args) < 0) message[0] = 0;
    va_end(args);

    time_t now = time(nullptr);
    struct tm local = {};
    localtime_r(&now, &local);
    int length =
        snprintf(line, sizeof line, "%02d:%02d:%02d: %s\n", local.tm_hour, local.tm_min, local.tm_sec, message);
    if (length < 0) return;
    size_t lineLength = strlen(line);

    if (logFile) {
        fputs(line, logFile);
        fflush(logFile);
    } else {
        size_t room = KLog::kMemoryBufferSize - memoryUsed;
        size_t take = lineLength < room ? lineLength : room;
        memcpy(memory + memoryUsed, line, take);
        memoryUsed += take;
    }
    if (echoToStderr) {
        fputs(line, stderr);
        fflush(stderr);
    }
}

namespace KLog {
void setLogFile(FILE* file) {
    std::lock_guard<std::mutex> guard(logLock);
    logFile = file;
}

void setEcho(bool echo) {
    std::lock_guard<std::mutex> guard(logLock);
    echoToStderr = echo;
}

const char* memoryBuffer() {
    return memory;
}

size_t memoryBufferUsed() {
    std::lock_guard<std::mutex> guard(logLock);
    return memoryUsed;
}

void clearMemoryBuffer() {
    std::lock_guard<std::mutex> guard(logLock);
    memoryUsed = 0;
}
} // namespace KLog
