// What LeakSanitizer leaves out of the game's reports in the sanitizer build: blocks that system libraries keep
// to the end of the process (libdbus, which SDL's video starts on a desktop), so a developer who runs the game by
// hand sees only leaks of the project's own code. Linked into the game binary alone.
// Each line names a library by its file; a leak with a frame in it is left out. Only libraries the project never
// calls itself belong here, so that no leak of ours can hide behind one.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
