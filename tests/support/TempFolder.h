// A fresh temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return root; }
    std::string file(const std::string& name) const { return root + "/" + name; }
    // Writes the bytes to a file in the folder and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string root;
};
