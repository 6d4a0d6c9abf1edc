// The shared names are header-only constants; this file keeps the library a real archive.
#include "common/Keys.h"
