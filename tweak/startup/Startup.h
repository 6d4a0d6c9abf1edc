#pragma once

namespace vantile {
// Runs the 28 start-up constructors of the tweak library, in their fixed order. The shared library calls it once
// when it is loaded; tests call it in a process they have prepared.
void runStartupConstructors();
}  // namespace vantile
