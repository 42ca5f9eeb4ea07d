// The message box naming a file that could not be used.
#include "FileFailureBox.h"

#include "KMiscTools.h"

void showFileFailureBox(const std::string& caption, const std::string& path, const std::string& what) {
    KMiscTools::messageBox(caption, "File \"" + path + "\" " + what);
}
