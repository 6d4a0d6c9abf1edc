#include "platform/media/PhotoLibrary.h"

#include "platform/core/DeviceRoot.h"

#include <algorithm>
#include <cctype>
#include <mutex>
#include <system_error>

namespace fs = std::filesystem;

namespace platform::media {

namespace {

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::optional<LibraryItem> itemForName(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || name.find('/') != std::string::npos) return std::nullopt;
    const std::string extension = upper(std::string_view(name).substr(dot + 1));
    const auto kind = mediaKindForExtension(extension);
    if (!kind) return std::nullopt;
    return LibraryItem{name, std::string(kPhotoLibraryFolder) + "/" + name, *kind, extension};
}

std::mutex g_spaceMutex;
std::optional<std::uint64_t> g_freeSpace;

}  // namespace

std::optional<MediaKind> mediaKindForExtension(std::string_view extension) {
    const std::string e = upper(extension);
    for (std::string_view image : {"JPG", "JPEG", "PNG", "GIF", "HEIC"})
        if (e == image) return MediaKind::Image;
    for (std::string_view video : {"MOV", "MP4", "M4V"})
        if (e == video) return MediaKind::Video;
    return std::nullopt;
}

std::vector<LibraryItem> photoLibraryItems() {
    std::vector<LibraryItem> items;
    const auto folder = devicePath(kPhotoLibraryFolder);
    if (!folder || !resolveInsideDeviceRoot(*folder)) return items;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*folder, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        if (auto item = itemForName(entry.path().filename().string())) items.push_back(std::move(*item));
    }
    std::sort(items.begin(), items.end(), [](const LibraryItem& a, const LibraryItem& b) { return a.name < b.name; });
    return items;
}

std::optional<LibraryItem> photoLibraryItemNamed(std::string_view name) {
    for (auto& item : photoLibraryItems())
        if (item.name == name) return item;
    return std::nullopt;
}

AddedItem addToPhotoLibrary(const fs::path& hostFile) {
    const std::string name = hostFile.filename().string();
    auto item = itemForName(name);
    if (!item) return {std::nullopt, "\"" + name + "\" is not a picture or movie file name (JPG, PNG, GIF, MOV, MP4...)"};
    if (photoLibraryItemNamed(name)) return {std::nullopt, "the photo library already has \"" + name + "\""};
    std::error_code ec;
    if (!fs::is_regular_file(hostFile, ec)) return {std::nullopt, "cannot read " + hostFile.string()};
    const auto folder = devicePath(kPhotoLibraryFolder);
    if (!folder) return {std::nullopt, "no device root"};
    fs::create_directories(*folder, ec);
    const auto target = resolveInsideDeviceRoot(*folder / name);
    if (ec || !target) return {std::nullopt, "cannot write into the photo library"};
    fs::copy_file(hostFile, *target, fs::copy_options::none, ec);
    if (ec) return {std::nullopt, "cannot copy " + hostFile.string() + ": " + ec.message()};
    return {item, {}};
}

std::string referenceURLForItem(const LibraryItem& item) {
    const std::string stem = item.name.substr(0, item.name.rfind('.'));
    return "assets-library://asset/asset." + item.extension + "?id=" + stem + "&ext=" + item.extension;
}

std::optional<LibraryItem> itemForReferenceURL(std::string_view url) {
    constexpr std::string_view prefix = "assets-library://asset/asset.";
    if (url.substr(0, prefix.size()) != prefix) return std::nullopt;
    const auto query = url.find('?');
    if (query == std::string_view::npos) return std::nullopt;
    std::string id, ext;
    std::string_view rest = url.substr(query + 1);
    while (!rest.empty()) {
        const auto amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        const auto eq = pair.find('=');
        if (eq != std::string_view::npos) {
            if (pair.substr(0, eq) == "id") id = pair.substr(eq + 1);
            if (pair.substr(0, eq) == "ext") ext = pair.substr(eq + 1);
        }
        if (amp == std::string_view::npos) break;
        rest = rest.substr(amp + 1);
    }
    if (id.empty() || ext.empty() || id.find('/') != std::string::npos) return std::nullopt;
    for (auto& item : photoLibraryItems())
        if (item.name.substr(0, item.name.rfind('.')) == id && item.extension == upper(ext)) return item;
    return std::nullopt;
}

void setMediaFreeSpace(std::optional<std::uint64_t> bytes) {
    std::lock_guard lock(g_spaceMutex);
    g_freeSpace = bytes;
}

std::optional<std::uint64_t> mediaFreeSpace() {
    std::lock_guard lock(g_spaceMutex);
    return g_freeSpace;
}

bool isWritableMediaPath(std::string_view path) {
    if (!(path.starts_with("/var/mobile/") || path.starts_with("/tmp/"))) return false;
    for (const auto& part : fs::path(path))
        if (part == "..") return false;
    return true;
}

}  // namespace platform::media
