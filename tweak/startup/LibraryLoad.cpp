// The library's one load-time constructor. It is linked last into libVantile, so every other static initialiser of
// the library has run when it starts the start-up constructors in their fixed order.
#include "tweak/startup/Startup.h"

__attribute__((constructor)) static void vantileLibraryLoaded() { vantile::runStartupConstructors(); }
