// The engine's one log function. Every line is prefixed with the local time ("hh:mm:ss: ") and goes to
// the open log file if there is one, otherwise into a fixed memory buffer that keeps the first bytes
// written; it is echoed to standard error when the echo flag is set.
#pragma once

#include <cstddef>
#include <cstdio>

void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace KLog {
constexpr size_t kMessageCapacity = 2047; // characters of one formatted message
constexpr size_t kMemoryBufferSize = 8192;

void setLogFile(FILE* file); // null closes nothing, only stops writing to it
void setEcho(bool echo);
const char* memoryBuffer(); // not terminated: read memoryBufferUsed() bytes
size_t memoryBufferUsed();
void clearMemoryBuffer();
} // namespace KLog
