// Glimmerfin's entry point. The engine's system tools are already started by their static object.
#include "KMiscTools.h"

int main() {
    KMiscTools::getMilliseconds();
    return 0;
}
