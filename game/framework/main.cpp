// Glimmerfin's entry point. The engine's system tools are already started by their static object.
#include "GameShell.h"

int main() {
    return runGame();
}
