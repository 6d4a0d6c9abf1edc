#include "tests/prefs/cells/KitFixture.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/HBPreferences.h"
#include "platform/core/NSBundle.h"
#include "platform/core/NSMutableArray.h"
#include "platform/core/RunLoop.h"
#include "platform/gfx/CGImage.h"
#include "platform/host/PSListController.h"
#include "platform/ui/AnimationCenter.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIScreen.h"
#include "platform/ui/UIWindow.h"

#include <fstream>
#include <vector>

namespace kittest {

namespace {

// The icons of the row kit, in every theme folder.
constexpr std::pair<std::string_view, std::string_view> kThemedFiles[] = {
    {"Icons", "toggle@3x.png"},
    {"Icons", "prefs-icon@3x.png"},
    {"Profile", "birthday-date.png"},
    {"Profile", "profile@3x.png"},
};

std::uint32_t themeColour(const vnt::ThemeRow& row) {
    auto channel = [](double v) { return static_cast<std::uint32_t>(v * 255 + 0.5); };
    return 0xFF000000u | channel(row.accent.red) << 16 | channel(row.accent.green) << 8 | channel(row.accent.blue);
}

}  // namespace

void KitFixture::SetUp() {
    m_root.emplace("kit");
    m_root->useAsDeviceRoot();
    platform::runtime::enableClassGroup("Preferences");
    UIScreen::resetDeviceProfile();
    for (const auto& theme : vnt::kThemes) {
        for (const auto& [group, file] : kThemedFiles) writeImage(themedPath(theme.theme, group, file), themeColour(theme));
        for (std::string_view icon : kCategoryIcons)
            writeImage(themedPath(theme.theme, "Categories", std::string(icon) + ".png"), themeColour(theme));
    }
}

void KitFixture::TearDown() {
    if (m_window) m_window->setRootViewController(nullptr);
    m_window = nullptr;
    if (auto responder = UIResponder::currentFirstResponder()) responder->resignFirstResponder();
    UIApplication::sharedApplication()->reset();
    platform::AnimationCenter::shared().reset();
    platform::resetRunLoop();
    platform::runtime::disableAllClassGroups();
    platform::flushBundleCaches();
    UIScreen::resetDeviceProfile();
    m_root.reset();
}

void KitFixture::store(std::string_view key, const Value& value) {
    auto preferences = HBPreferences::preferencesForIdentifier(vantile::kDomain);
    preferences->setObjectForKey(value, key);
}

void KitFixture::selectTheme(std::optional<vnt::Theme> theme) {
    for (const auto& row : vnt::kThemes) store(row.key, Value(theme == row.theme));
}

std::string KitFixture::themedPath(vnt::Theme theme, std::string_view group, std::string_view file) {
    return vnt::themedAssetPath(theme, group, file).value_or("");
}

std::filesystem::path KitFixture::hostPath(std::string_view devicePath) const {
    return m_root->path() / std::filesystem::path(devicePath).relative_path();
}

Value::Data KitFixture::pngData(std::uint32_t argb) {
    const std::vector<std::uint32_t> pixels(16, argb);
    CGImageRef image = platform::gfx::createImageFromARGB32(4, 4, pixels.data(), 16);
    auto bytes = platform::gfx::encodePNG(image);
    CGImageRelease(image);
    return bytes.value_or(Value::Data{});
}

void KitFixture::writeImage(std::string_view devicePath, std::uint32_t argb) const {
    const auto file = hostPath(devicePath);
    std::filesystem::create_directories(file.parent_path());
    const Value::Data bytes = pngData(argb);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

void KitFixture::writeStrings(std::string_view bundleDevicePath,
                              std::initializer_list<std::pair<std::string_view, std::string_view>> entries) const {
    const auto folder = hostPath(bundleDevicePath) / "en.lproj";
    std::filesystem::create_directories(folder);
    std::ofstream out(folder / "Localizable.strings", std::ios::binary);
    for (const auto& [key, text] : entries) out << '"' << key << "\" = \"" << text << "\";\n";
    platform::flushBundleCaches();
}

Ref<PSSpecifier> KitFixture::specifier(std::initializer_list<std::pair<std::string_view, std::string_view>> properties,
                                       long cellType) {
    auto s = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit("", nullptr, nullptr, nullptr, nullptr,
                                                                            cellType, nullptr);
    for (const auto& [key, text] : properties) s->setPropertyForKey(Property(std::string(text)), key);
    return s;
}

void KitFixture::showList(const Ref<PSListController>& page, const std::vector<Ref<PSSpecifier>>& entries) {
    auto list = NSMutableArray::array();
    for (const auto& e : entries) list->addObject(e);
    page->init();
    page->setSpecifiers(list);
    if (m_window) m_window->setRootViewController(nullptr);
    m_window = alloc<UIWindow>();
    m_window->initWithFrame(UIScreen::mainScreen()->bounds());
    auto navigation = alloc<UINavigationController>();
    navigation->initWithRootViewController(page);
    m_window->setRootViewController(navigation);
    m_window->makeKeyAndVisible();
    m_window->layoutIfNeeded();
    platform::RunLoop::main().drain();
}

Ref<PSSpecifier> KitFixture::kitEntry(const char* cellClass, long type,
                                      std::initializer_list<std::pair<std::string_view, std::string_view>> properties) {
    auto s = specifier(properties, type);
    s->setPropertyForKey(Property(std::string(cellClass)), "cellClass");
    return s;
}

Ref<PSTableCell> KitFixture::makeRow(std::string_view className, const Ref<PSSpecifier>& specifier) {
    Class cls = objc_getClass(className);
    auto cell = cast<PSTableCell>(platform::runtime::createInstance(cls));
    if (!cell) return nullptr;
    platform::msgSend<void>(cell, sel("initWithStyle:reuseIdentifier:specifier:"), UITableViewCellStyleDefault,
                            std::string(className), specifier);
    return cell;
}

}  // namespace kittest
