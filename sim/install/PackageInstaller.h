#pragma once

// Installs a Debian package of the add-on into a device root as the phone's package manager does: the package's
// files unpacked below the root, and the list of the files it owns kept in "/var/lib/dpkg/info/<package>.list"
// with its entry in "/var/lib/dpkg/status", so that the next installation of the same package replaces it cleanly
// (files the new version no longer has are removed).
//
// The package is unpacked into a staging folder inside the root first and checked there; only then are its files
// moved into place. A missing or damaged package, or one whose files would collide with a folder of the root, is
// refused with the root exactly as it was. Should a move fail half-way, the files already moved are put back.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim::install {

struct InstallResult {
    // Nothing on success, else why the package was refused; the root is then unchanged.
    std::optional<std::string> error;
    // The control file's "Package" and "Version".
    std::string package;
    std::string version;
    // Device paths ("/Library/...") of the files now installed, sorted.
    std::vector<std::string> installed;
    // Device paths of the previous installation's files that the new one lacks, now gone, sorted.
    std::vector<std::string> removed;

    explicit operator bool() const { return !error; }
};

// Installs `deb` into `root` (created when missing).
[[nodiscard]] InstallResult installPackage(const std::filesystem::path& deb, const std::filesystem::path& root);

// Device paths of the files (not folders) an installed package owns, as its list records them; empty when the
// package is not installed in `root`.
std::vector<std::string> installedFiles(const std::filesystem::path& root, const std::string& package);

// The installed version of a package; nothing when it is not installed.
std::optional<std::string> installedVersion(const std::filesystem::path& root, const std::string& package);

// The add-on's package that the build made ("Vantile.deb" in the build folder); nothing when it was not built.
std::optional<std::filesystem::path> defaultPackage();

// The add-on's package name, as its control file gives it.
inline constexpr const char* kPackageName = "com.zorvanic.vantile";

}  // namespace sim::install
