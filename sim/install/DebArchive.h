#pragma once

// A Debian binary package read in-process with libarchive, as the installer needs it: the control file's text and
// the package's files unpacked into a staging folder. The outer "ar" archive must hold "debian-binary" (a format
// of "2.x") first, then "control.tar" and "data.tar", each uncompressed or as .gz, .xz, .zst, .bz2 or .lzma;
// members whose names start with "_" may stand between them and are skipped, as the package manager skips them,
// and members after data.tar are ignored (deb(5) keeps that room for later additions).
//
// Every refusal says why and names the package file. What a package may unpack is bounded (a total of the sizes
// its entries declare, and a number of entries), so that a small compressed bomb is refused before it fills the
// disk or the memory.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim::install {

// What a package unpacked, as relative paths of the staging folder, each sorted (so parents come before children).
struct StagedTree {
    std::vector<std::filesystem::path> folders;
    // Regular files, hard links and symbolic links.
    std::vector<std::filesystem::path> files;
};

struct DebLimits {
    // For each tarball, the sum of the sizes its entries declare, skipped entries included: libarchive reads
    // exactly what a header declares, so this bounds the disk written and the decompression done. A member of the
    // outer archive is held in memory and may not be larger either.
    std::uint64_t unpackedBytes = 256ull << 20;
    // Entries of each tarball.
    std::size_t entries = 100000;
};

class DebArchive {
public:
    // Reads the outer archive of `deb` and keeps its two tarballs in memory; nothing (with `why` set) when the file
    // is missing, is no "ar" archive, is cut short, or misses or misplaces a member.
    [[nodiscard]] static std::optional<DebArchive> open(const std::filesystem::path& deb, std::string& why,
                                                        DebLimits limits = {});

    // The text of the control tarball's "control" entry; nothing (with `why` set) when the tarball is damaged, has
    // no such entry, or is over the limits.
    [[nodiscard]] std::optional<std::string> controlText(std::string& why) const;

    // Unpacks the data tarball into `folder` (an existing, empty folder) and lists what it made; nothing (with `why`
    // set) when the tarball is damaged or over the limits, or holds what a package may not install: a device, pipe
    // or socket, a name with ".." or a line break, a name inside one of its own files or links, a folder where it
    // put a file or the reverse, a hard link to anything but an earlier file of its own. A later file of the same
    // name replaces an earlier one. Nothing is ever written through a symbolic link: links are made as links, with
    // their target text as the package gives it, and judged by the caller. `folder` may then hold a partial tree.
    [[nodiscard]] std::optional<StagedTree> unpackInto(const std::filesystem::path& folder, std::string& why) const;

private:
    DebArchive(std::filesystem::path deb, DebLimits limits) : m_deb(std::move(deb)), m_limits(limits) {}

    std::filesystem::path m_deb;
    DebLimits m_limits;
    // The two tarballs as the package holds them, compressed or not.
    std::string m_control;
    std::string m_data;
};

}  // namespace sim::install
