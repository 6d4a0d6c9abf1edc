#include "platform/core/NSBundle.h"

#include "platform/core/ClassImage.h"
#include "platform/core/DeviceRoot.h"
#include "platform/core/PropertyList.h"
#include "platform/core/Runtime.h"

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>

VT_REGISTER_CLASS(NSBundle, [](Class c) {
    platform::runtime::addMethod<&NSBundle::load>(c, "load");
    platform::runtime::addMethod<&NSBundle::isLoaded>(c, "isLoaded");
})

namespace fs = std::filesystem;

namespace {

std::vector<std::string> g_languages{"en"};
std::string g_mainBundlePath;
std::size_t g_missingKeys = 0;

std::size_t g_executableOpens = 0;

// Code loaded into the program, by NSBundle::codeKey. Never forgotten: code cannot be taken out again.
struct LoadedCode {
    void* handle = nullptr;  // null for code that was in the program already
};

std::unordered_map<std::string, LoadedCode>& loadedCode() {
    static auto* map = new std::unordered_map<std::string, LoadedCode>();
    return *map;
}

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

// ----- code -----

namespace {

const std::string* infoString(const Value& info, std::string_view key) {
    const Value* v = info.find(key);
    const std::string* s = v ? v->asString() : nullptr;
    return s && !s->empty() ? s : nullptr;
}

}  // namespace

std::optional<std::string> NSBundle::executablePath() {
    const std::string* name = infoString(infoDictionary(), "CFBundleExecutable");
    // A name that leaves the folder is no executable of this bundle.
    if (!name || name->find('/') != std::string::npos || *name == "." || *name == "..") return std::nullopt;
    std::string path = m_path + "/" + *name;
    return isFile(path) ? std::optional(path) : std::nullopt;
}

std::string NSBundle::codeKey() {
    const std::string* identifier = infoString(infoDictionary(), "CFBundleIdentifier");
    const std::string* executable = infoString(infoDictionary(), "CFBundleExecutable");
    if (identifier && executable) return *identifier + "/" + *executable;
    return m_path;
}

bool NSBundle::isLoaded() { return m_hasFolder && loadedCode().count(codeKey()) > 0; }

bool NSBundle::load() { return !loadAndReturnError(); }

std::optional<std::string> NSBundle::loadAndReturnError() {
    if (!m_hasFolder) return std::string("the bundle has no folder");
    if (isLoaded()) return std::nullopt;
    const Value& info = infoDictionary();
    if (info.isNone()) return "no readable Info.plist in " + m_path;
    const std::string* name = infoString(info, "CFBundleExecutable");
    if (!name) return "the Info.plist of " + m_path + " names no executable (CFBundleExecutable)";
    auto executable = executablePath();
    if (!executable) return "the executable \"" + *name + "\" is missing from " + m_path;
    // Code already in the program (an earlier device root's copy, or linked in) is not opened a second time: its
    // classes would be defined twice.
    if (const std::string* principal = infoString(info, "NSPrincipalClass"); principal && objc_getClass(*principal)) {
        loadedCode().emplace(codeKey(), LoadedCode{});
        return std::nullopt;
    }
    auto host = platform::devicePath(*executable);
    if (!host) return "the executable of " + m_path + " lies outside the device";
    dlerror();
    platform::runtime::beginImageLoad(*executable);
    void* handle = dlopen(host->c_str(), RTLD_NOW | RTLD_LOCAL);
    platform::runtime::endImageLoad();
    if (!handle) {
        const char* why = dlerror();
        return *executable + " is not a library that can be loaded: " + (why ? why : "unknown reason");
    }
    ++g_executableOpens;
    loadedCode().emplace(codeKey(), LoadedCode{handle});
    return std::nullopt;
}

Class NSBundle::principalClass() {
    if (!load()) return nullptr;
    if (const std::string* name = infoString(infoDictionary(), "NSPrincipalClass")) return objc_getClass(*name);
    if (auto executable = executablePath()) {
        auto classes = platform::runtime::classesOfImage(*executable);
        if (!classes.empty()) return classes.front();
    }
    return nullptr;
}

Ref<NSBundle> NSBundle::bundleForClass(Class cls) {
    const std::string image = platform::runtime::imageOfClass(cls);
    if (auto slash = image.rfind('/'); slash != std::string::npos && slash > 0)
        if (auto bundle = bundleWithPath(image.substr(0, slash))) return bundle;
    return mainBundle();
}

namespace platform {

void setPreferredLanguages(std::vector<std::string> languages) {
    if (languages.empty()) languages = {"en"};
    g_languages = std::move(languages);
}

std::vector<std::string> preferredLanguages() { return g_languages; }

void setMainBundlePath(std::string devicePath) { g_mainBundlePath = normalise(devicePath); }

void recordClassOfBundle(Class cls, const Ref<NSBundle>& bundle) {
    if (!cls || !bundle) return;
    const std::string* name = infoString(bundle->infoDictionary(), "CFBundleExecutable");
    platform::runtime::setImageOfClass(cls, bundle->bundlePath() + "/" + (name ? *name : std::string("executable")));
}

std::size_t bundleExecutableOpenCount() { return g_executableOpens; }

void flushBundleCaches() {
    for (auto& [path, bundle] : bundles()) bundle->flushCaches();
    bundles().clear();
}

}  // namespace platform
