#pragma once

// Bytes requested from operator new by this program so far. The program's operator new counts them (see the .cpp);
// a test reads the figure before and after a call to learn how much the call allocated, which tells a shared value
// from a copied one independently of timing.

#include <cstddef>

namespace testing_support {

std::size_t bytesAllocated();

}  // namespace testing_support
