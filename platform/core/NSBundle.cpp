#include "platform/core/NSBundle.h"

#include "platform/core/DeviceRoot.h"
#include "platform/core/PropertyList.h"
#include "platform/core/Runtime.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>

VT_REGISTER_CLASS(NSBundle)

namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_languages{"en"};
std::string g_mainBundlePath;
std::size_t g_missingKeys = 0;

std::unordered_map<std::string, Ref<NSBundle>>& bundles() {
    static std::unordered_map<std::string, Ref<NSBundle>> map;
    return map;
}

std::string normalise(std::string_view path) {
    std::string p(path);
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    return p;
}

bool isFolder(const std::string& devicePath) {
    auto host = platform::devicePath(devicePath);
    std::error_code ec;
    return host && fs::is_directory(*host, ec);
}

std::optional<std::vector<std::uint8_t>> readFile(const std::string& devicePath) {
    auto host = platform::devicePath(devicePath);
    std::error_code ec;
    if (!host || !fs::is_regular_file(*host, ec)) return std::nullopt;
    std::ifstream in(*host, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool isFile(const std::string& devicePath) {
    auto host = platform::devicePath(devicePath);
    std::error_code ec;
    return host && fs::is_regular_file(*host, ec);
}

// "en-GB" → "en-GB", "en_GB", "en"; "zh-Hans-CN" → "zh-Hans-CN", "zh_Hans_CN", "zh-Hans", "zh_Hans", "zh".
std::vector<std::string> candidatesFor(const std::string& language) {
    std::vector<std::string> out;
    std::string current = language;
    std::replace(current.begin(), current.end(), '_', '-');
    for (;;) {
        out.push_back(current);
        std::string underscored = current;
        std::replace(underscored.begin(), underscored.end(), '-', '_');
        if (underscored != current) out.push_back(underscored);
        auto dash = current.rfind('-');
        if (dash == std::string::npos) break;
        current.resize(dash);
    }
    return out;
}

}  // namespace

Ref<NSBundle> NSBundle::bundleWithPath(std::string_view devicePath) {
    std::string path = normalise(devicePath);
    if (path.empty() || !isFolder(path)) return nullptr;
    // Keyed by the host folder, so that a new device root (a test's, a new process's) never sees old tables.
    const std::string hostKey = platform::devicePath(path)->string();
    auto& map = bundles();
    if (auto it = map.find(hostKey); it != map.end()) return it->second;
    auto bundle = alloc<NSBundle>();
    bundle->m_path = path;
    bundle->m_hasFolder = true;
    map.emplace(hostKey, bundle);
    return bundle;
}

Ref<NSBundle> NSBundle::mainBundle() {
    if (auto b = bundleWithPath(g_mainBundlePath)) return b;
    static Ref<NSBundle> placeholder = alloc<NSBundle>();
    return placeholder;
}

std::optional<std::string> NSBundle::pathForResourceOfType(std::string_view name, std::string_view type) {
    if (!m_hasFolder || name.empty()) return std::nullopt;
    std::string file(name);
    if (!type.empty()) {
        if (type.front() != '.') file += '.';
        file += type;
    }
    if (isFile(m_path + "/" + file)) return m_path + "/" + file;
    for (const auto& language : lookupOrder()) {
        if (language.empty()) continue;
        std::string candidate = m_path + "/" + language + ".lproj/" + file;
        if (isFile(candidate)) return candidate;
    }
    return std::nullopt;
}

const Value& NSBundle::infoDictionary() {
    if (!m_info) {
        m_info = Value{};
        if (m_hasFolder)
            if (auto bytes = readFile(m_path + "/Info.plist"))
                if (auto parsed = platform::parsePropertyList(*bytes); parsed && parsed->isDictionary())
                    m_info = std::move(*parsed);
    }
    return *m_info;
}

std::optional<std::string> NSBundle::bundleIdentifier() {
    if (auto* v = infoDictionary().find("CFBundleIdentifier"))
        if (auto* s = v->asString()) return *s;
    return std::nullopt;
}

std::string NSBundle::developmentRegion() {
    if (auto* v = infoDictionary().find("CFBundleDevelopmentRegion"))
        if (auto* s = v->asString(); s && !s->empty()) return *s;
    return "en";
}

std::vector<std::string> NSBundle::lookupOrder() {
    std::vector<std::string> order;
    auto add = [&](const std::string& language) {
        if (std::find(order.begin(), order.end(), language) == order.end()) order.push_back(language);
    };
    for (const auto& language : platform::preferredLanguages())
        for (const auto& candidate : candidatesFor(language)) add(candidate);
    for (const auto& candidate : candidatesFor(developmentRegion())) add(candidate);
    add("");  // the top folder, for tables that are not localized
    return order;
}

std::vector<std::string> NSBundle::preferredLocalizations() {
    std::vector<std::string> found;
    for (const auto& language : lookupOrder())
        if (!language.empty() && isFolder(m_path + "/" + language + ".lproj")) found.push_back(language);
    return found;
}

const platform::StringsTable* NSBundle::table(const std::string& language, const std::string& name) {
    const std::string key = language + "/" + name;
    auto it = m_tables.find(key);
    if (it == m_tables.end()) {
        std::optional<platform::StringsTable> parsed;
        std::string file = m_path + "/" + (language.empty() ? "" : language + ".lproj/") + name + ".strings";
        if (auto bytes = readFile(file)) parsed = platform::parseStringsTable(*bytes);
        it = m_tables.emplace(key, std::move(parsed)).first;
    }
    return it->second ? &*it->second : nullptr;
}

std::string NSBundle::localizedStringForKeyValueTable(std::string_view key, std::string_view value,
                                                      std::optional<std::string_view> tableName) {
    const std::string name = tableName && !tableName->empty() ? std::string(*tableName) : "Localizable";
    if (m_hasFolder) {
        for (const auto& language : lookupOrder()) {
            auto* t = table(language, name);
            if (!t) continue;
            if (auto found = t->find(key); found != t->end()) return found->second;
        }
    }
    ++g_missingKeys;
    return value.empty() ? std::string(key) : std::string(value);
}

std::size_t NSBundle::missingKeyCount() { return g_missingKeys; }

void NSBundle::resetMissingKeyCount() { g_missingKeys = 0; }

void NSBundle::flushCaches() {
    m_tables.clear();
    m_info.reset();
}

namespace platform {

void setPreferredLanguages(std::vector<std::string> languages) {
    if (languages.empty()) languages = {"en"};
    g_languages = std::move(languages);
}

std::vector<std::string> preferredLanguages() { return g_languages; }

void setMainBundlePath(std::string devicePath) { g_mainBundlePath = normalise(devicePath); }

void flushBundleCaches() {
    for (auto& [path, bundle] : bundles()) bundle->flushCaches();
    bundles().clear();
}

}  // namespace platform
