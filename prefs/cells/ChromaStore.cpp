#include "prefs/cells/ChromaStore.h"

#include "platform/core/DictionaryFile.h"

namespace chroma {

std::optional<std::string> preferencesFilePath(std::string_view domain) {
    if (domain.empty() || domain.find('/') != std::string_view::npos || domain.find("..") != std::string_view::npos)
        return std::nullopt;
    return "/var/mobile/Library/Preferences/" + std::string(domain) + ".plist";
}

std::optional<std::string> preferencesFileURL(std::string_view domain) {
    auto path = preferencesFilePath(domain);
    if (!path) return std::nullopt;
    return "file://" + *path;
}

std::optional<std::string> stringProperty(const PSSpecifier::Properties& properties, std::string_view key) {
    auto it = properties.find(key);
    if (it == properties.end() || !it->second.value()) return std::nullopt;
    if (const std::string* s = it->second.value()->asString()) return *s;
    return std::nullopt;
}

std::optional<std::string> previewColourString(const PSSpecifier::Properties& properties) {
    auto domain = stringProperty(properties, "defaults");
    auto key = stringProperty(properties, "key");
    if (domain && key)
        if (auto path = preferencesFilePath(*domain))
            if (auto dict = platform::dictionaryWithContentsOfFile(*path))
                if (auto it = dict->find(*key); it != dict->end())
                    if (const std::string* s = it->second.asString()) return *s;
    return stringProperty(properties, "default");
}

}  // namespace chroma
