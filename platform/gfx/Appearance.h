#pragma once

// The interface style that dynamic colours resolve against when nobody names one: the style of the trait collection
// that is current at this moment (UITraitCollection sets it while it runs appearance callbacks and initialisers).
// Styles are UIKit's numbers: 0 unspecified, 1 light, 2 dark. Unspecified resolves like light.

namespace platform {

// The current style; 1 (light) until someone sets another.
int currentInterfaceStyle();
// Sets the current style. Any integer is kept as given; values other than 2 resolve like light.
void setCurrentInterfaceStyle(int style);

// Sets the current style for the lifetime of the object and restores the previous one afterwards, so that a callback
// run "inside" a trait collection cannot leak its style to the code that follows.
class ScopedInterfaceStyle {
public:
    explicit ScopedInterfaceStyle(int style) : m_previous(currentInterfaceStyle()) { setCurrentInterfaceStyle(style); }
    ~ScopedInterfaceStyle() { setCurrentInterfaceStyle(m_previous); }
    ScopedInterfaceStyle(const ScopedInterfaceStyle&) = delete;
    ScopedInterfaceStyle& operator=(const ScopedInterfaceStyle&) = delete;

private:
    int m_previous;
};

}  // namespace platform
