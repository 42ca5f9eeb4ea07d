// Resource lookup over the mounted archives and the default plain-file archive.
#include "KResource.h"

#include "KLog.h"
#include "KMiscTools.h"

#include <strings.h>

bool KResource::verbose = false;

namespace {
KResourceArchive*& defaultArchive() {
    static KResourceArchive* archive = nullptr;
    return archive;
}

// The path as a mounted archive names it: relative to the data folder. A backslash is an ordinary character of
// a file name here, as on the file system, so that a name never means another file in the archive than on disk.
std::string archivePath(const std::string& path) {
    const std::string& data = KMiscTools::getDataFolder();
    std::string rest = path;
    if (!data.empty() && rest.size() >= data.size() && strncasecmp(rest.c_str(), data.c_str(), data.size()) == 0) {
        rest.erase(0, data.size());
        if (!rest.empty() && (rest[0] == '/' || rest[0] == ':')) rest.erase(0, 1);
    }
    return rest;
}
} // namespace

KList<KResourceArchive>& KResource::mountedArchives() {
    static KList<KResourceArchive>& archives = *new KList<KResourceArchive>(); // never destroyed (see KList.h)
    return archives;
}

KResource::~KResource() {
    delete file;
}

int KResource::open(const std::string& path) {
    delete file;
    file = nullptr;
    KList<KResourceArchive>& archives = mountedArchives();
    if (archives.count > 0) {
        std::string name = archivePath(path);
        for (KResourceArchive* archive = archives.head; archive; archive = KList<KResourceArchive>::next(archive)) {
            file = archive->openFile(name.c_str());
            if (file) {
                if (verbose) logMessage("Resource: opened '%s' (archive)", name.c_str());
                return K_RES_OK;
            }
        }
    }
    // The path as it is: a backslash is part of a file name on Linux, never a separator that could lead a name
    // out of the folder it is looked up in.
    if (defaultArchive()) file = defaultArchive()->openFile(path.c_str());
    if (!file) {
        if (verbose) logMessage("Resource: failed to open '%s'", path.c_str());
        return K_RES_OPEN_FAILED;
    }
    if (verbose) logMessage("Resource: opened '%s' (filesystem)", path.c_str());
    return K_RES_OK;
}

bool KResource::loadWholeFile(const std::string& path, unsigned char*& bytes, size_t& size) {
    bytes = nullptr;
    size = 0;
    KList<KResourceArchive>& archives = mountedArchives();
    if (archives.count > 0) {
        std::string name = archivePath(path);
        for (KResourceArchive* archive = archives.head; archive; archive = KList<KResourceArchive>::next(archive)) {
            if (archive->loadFile(name.c_str(), bytes, size)) {
                if (verbose) logMessage("Resource: opened '%s' (archive)", name.c_str());
                return true;
            }
        }
    }
    if (!defaultArchive() || !defaultArchive()->loadFile(path.c_str(), bytes, size)) {
        if (verbose) logMessage("Resource: failed to open '%s'", path.c_str());
        return false;
    }
    if (verbose) logMessage("Resource: opened '%s' (filesystem)", path.c_str());
    return true;
}

void KResource::createDefaultArchive() {
    if (!defaultArchive()) defaultArchive() = new KResourceArchiveDirect();
}

void KResource::mountArchive(KResourceArchive* archive) {
    mountedArchives().link(archive);
}

void KResource::shutDown() {
    KList<KResourceArchive>& archives = mountedArchives();
    archives.forEach([&](KResourceArchive* archive) {
        archives.unlink(archive);
        delete archive;
    });
    delete defaultArchive();
    defaultArchive() = nullptr;
}
