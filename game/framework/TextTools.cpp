// Number, time and name formatting.
#include "TextTools.h"

#include <cctype>
#include <cstdio>

std::string intToString(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%i", n);
    return buffer;
}

std::string intToGroupedString(int n) {
    std::string text = intToString(n);
    if (n > 999999999) text.insert(text.size() - 9, ",");
    if (n > 999999) text.insert(text.size() - 6, ",");
    if (n >= 1000) text.insert(text.size() - 3, ",");
    return text;
}

std::string padWithZeros(const std::string& text, size_t length) {
    if (text.size() >= length) return text;
    return std::string(length - text.size(), '0') + text;
}

std::string formatTime(double seconds) {
    // 6000 seconds and more would not fit the minutes; a time below zero, or not a number, is no time at all.
    if (!(seconds >= 0.0 && seconds < 6000.0)) return "-";
    const int whole = int(seconds);
    const int minutes = whole / 60;
    const int secs = whole % 60;
    const int millis = int((seconds - whole) * 1000.0);
    return padWithZeros(intToString(minutes), 2) + ":" + padWithZeros(intToString(secs), 2) + ":" +
           padWithZeros(intToString(millis), 3);
}

std::string stripLevelNumber(const std::string& name) {
    size_t digits = 0;
    while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
    if (digits == 0 || digits >= name.size() || name[digits] != '.' || digits + 1 == name.size()) return name;
    return name.substr(digits + 1);
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() > suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}
