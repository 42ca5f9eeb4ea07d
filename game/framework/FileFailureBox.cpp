// The file-failure message box and the captions already told in this run.
#include "FileFailureBox.h"

#include "KMiscTools.h"

#include <set>

namespace {

std::set<std::string>& toldCaptions() {
    static std::set<std::string> told;
    return told;
}

} // namespace

void showFileFailureBox(const std::string& caption, const std::string& path, const std::string& failure) {
    KMiscTools::messageBox(caption, "File \"" + path + "\" " + failure);
}

void showFileFailureBoxOnce(const std::string& caption, const std::string& path, const std::string& failure) {
    if (toldCaptions().insert(caption).second) showFileFailureBox(caption, path, failure);
}

void forgetToldFileFailures() {
    toldCaptions().clear();
}
