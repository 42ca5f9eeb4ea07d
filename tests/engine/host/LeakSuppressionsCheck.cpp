// Run by CTest in the sanitizer build, linked with the game binary's leak suppressions: a block that a system
// library leaves behind (libdbus, as SDL uses it) is not reported, while a block our own code leaks still is.
// "system" checks the first, "own" the second; 77 means there is no libdbus to check with.
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace {
// The only pointer to each lost block, cleared at once: nothing refers to the blocks when the program ends.
void* volatile lastBlock = nullptr;

__attribute__((noinline)) void loseOwnBlock() {
    lastBlock = new char[100];
    lastBlock = nullptr;
}
} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "system") == 0) {
        // A message the library makes and nobody frees (type 1: a method call).
        void* library = dlopen("libdbus-1.so.3", RTLD_NOW);
        auto newMessage = library ? reinterpret_cast<void* (*)(int)>(dlsym(library, "dbus_message_new")) : nullptr;
        if (!newMessage) return 77;
        lastBlock = newMessage(1);
        lastBlock = nullptr;
        return 0;
    }
    loseOwnBlock();
    return 0;
}
