#pragma once

// The device's photo library: the pictures and movies in the camera roll folder below the device root. The build
// fills a fresh device with generated media (a few small JPEG, PNG and GIF pictures and a one-second movie); the
// simulator may add files to it. Items are ordered by file name, as the camera roll numbers them.
//
// An item is known to the Photos and image picker stand-ins by its file name (its identifier) and by a reference
// URL in the assets-library form the picker hands out: "assets-library://asset/asset.JPG?id=IMG_0001&ext=JPG".

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::media {

inline constexpr std::string_view kPhotoLibraryFolder = "/var/mobile/Media/DCIM/100APPLE";

enum class MediaKind { Image, Video };

struct LibraryItem {
    std::string name;        // file name, e.g. "IMG_0001.JPG"
    std::string devicePath;  // kPhotoLibraryFolder + "/" + name
    MediaKind kind = MediaKind::Image;
    std::string extension;   // upper case, without the dot
    friend bool operator==(const LibraryItem&, const LibraryItem&) = default;
};

// Image for JPG, JPEG, PNG, GIF, HEIC; video for MOV, MP4, M4V (any case); nothing for others.
std::optional<MediaKind> mediaKindForExtension(std::string_view extension);

// The items of the library, by name; files of other kinds and sub-folders are not items. Empty without a device
// root or without the folder.
std::vector<LibraryItem> photoLibraryItems();
std::optional<LibraryItem> photoLibraryItemNamed(std::string_view name);

// Copies a host file into the library under its own file name. Answers the new item, or a message: a name the
// library already has, an extension that is no picture or movie, a file that cannot be read or written.
struct AddedItem {
    std::optional<LibraryItem> item;
    std::string error;
};
AddedItem addToPhotoLibrary(const std::filesystem::path& hostFile);

std::string referenceURLForItem(const LibraryItem& item);
// The item a reference URL names, when it is still in the library; nothing for another scheme, a malformed URL or
// an item that is gone.
std::optional<LibraryItem> itemForReferenceURL(std::string_view url);

// The device's free space for writing media, for simulating a full disk: nothing (the default) means unlimited.
// Exports stop with an error once their output would pass it.
void setMediaFreeSpace(std::optional<std::uint64_t> bytes);
std::optional<std::uint64_t> mediaFreeSpace();

// Where the device may write movies: paths below "/var/mobile/" or "/tmp/" with no ".." component.
bool isWritableMediaPath(std::string_view devicePath);

}  // namespace platform::media
