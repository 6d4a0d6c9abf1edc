#include "platform/ui/UITraitCollection.h"

#include "platform/core/Runtime.h"

#include "platform/gfx/Appearance.h"
#include "platform/ui/UIScreen.h"

#include <sstream>

VT_REGISTER_CLASS(UITraitCollection)

namespace {
long g_systemStyle = UIUserInterfaceStyleLight;
// Null means "the system's collection"; set only inside CurrentScope or by setCurrentTraitCollection.
Ref<UITraitCollection> g_currentTraits;
}  // namespace

Ref<UITraitCollection> UITraitCollection::traitCollectionWithStyleScale(long style, CGFloat scale) {
    auto t = alloc<UITraitCollection>();
    t->m_style = style;
    t->m_scale = scale;
    return t;
}

Ref<UITraitCollection> UITraitCollection::traitCollectionWithUserInterfaceStyle(long style) {
    return traitCollectionWithStyleScale(style, 0);
}

bool UITraitCollection::isEqual(const Ref<UITraitCollection>& other) const {
    return other && other->m_style == m_style && other->m_scale == m_scale;
}

bool UITraitCollection::hasDifferentColorAppearanceComparedToTraitCollection(
    const Ref<UITraitCollection>& other) const {
    return !other || other->m_style != m_style;
}

Ref<UITraitCollection> UITraitCollection::currentTraitCollection() {
    return g_currentTraits ? g_currentTraits : systemTraitCollection();
}

void UITraitCollection::setCurrentTraitCollection(const Ref<UITraitCollection>& collection) {
    g_currentTraits = collection;
    // Dynamic colours resolve against the style made current here.
    platform::setCurrentInterfaceStyle(static_cast<int>(currentTraitCollection()->userInterfaceStyle()));
}

long UITraitCollection::systemUserInterfaceStyle() { return g_systemStyle; }

void UITraitCollection::setSystemStyleValue(long style) {
    g_systemStyle = style;
    if (!g_currentTraits) platform::setCurrentInterfaceStyle(static_cast<int>(style));
}

Ref<UITraitCollection> UITraitCollection::systemTraitCollection() {
    return traitCollectionWithStyleScale(g_systemStyle, UIScreen::mainScreen()->scale());
}

UITraitCollection::CurrentScope::CurrentScope(const Ref<UITraitCollection>& collection) : m_previous(g_currentTraits) {
    setCurrentTraitCollection(collection);
}

UITraitCollection::CurrentScope::~CurrentScope() { setCurrentTraitCollection(m_previous); }

std::string UITraitCollection::description() const {
    std::ostringstream out;
    out << "<UITraitCollection style=" << m_style << " scale=" << m_scale << ">";
    return out.str();
}
