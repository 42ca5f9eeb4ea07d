// Linked into the test binaries that open an OpenGL context: Mesa keeps allocations alive past exit,
// which LeakSanitizer would report as leaks of ours.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=0";
}
