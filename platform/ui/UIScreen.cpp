#include "platform/ui/UIScreen.h"

#include "platform/core/Runtime.h"
#include "platform/gfx/DisplayScale.h"

VT_REGISTER_CLASS(UIScreen)

namespace {
const std::vector<UIScreenProfile>& profiles() {
    static const std::vector<UIScreenProfile> list = {
        {"iphone-8", {375, 667}, 2, 20, 0},     {"iphone-8-plus", {414, 736}, 3, 20, 0},
        {"iphone-x", {375, 812}, 3, 44, 34},    {"iphone-xr", {414, 896}, 2, 44, 34},
        {"iphone-12", {390, 844}, 3, 47, 34},
    };
    return list;
}

UIScreenProfile& current() {
    static UIScreenProfile profile = profiles().front();
    return profile;
}
}  // namespace

Ref<UIScreen> UIScreen::mainScreen() {
    static Ref<UIScreen> screen = alloc<UIScreen>();
    return screen;
}

CGRect UIScreen::bounds() const { return {{0, 0}, current().size}; }
CGFloat UIScreen::scale() const { return current().scale; }
CGRect UIScreen::nativeBounds() const {
    return {{0, 0}, {current().size.width * current().scale, current().size.height * current().scale}};
}
const UIScreenProfile& UIScreen::profile() const { return current(); }

bool UIScreen::setDeviceProfile(std::string_view name) {
    auto found = profileNamed(name);
    if (!found) return false;
    current() = *found;
    platform::setDisplayScale(found->scale);
    return true;
}

void UIScreen::setCustomProfile(const UIScreenProfile& profile) {
    current() = profile;
    platform::setDisplayScale(profile.scale);
}
void UIScreen::resetDeviceProfile() {
    current() = profiles().front();
    platform::setDisplayScale(current().scale);
}
const std::vector<UIScreenProfile>& UIScreen::knownProfiles() { return profiles(); }

std::optional<UIScreenProfile> UIScreen::profileNamed(std::string_view name) {
    for (const auto& p : profiles())
        if (p.name == name) return p;
    return std::nullopt;
}
