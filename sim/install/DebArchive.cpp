#include "sim/install/DebArchive.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim::install {
namespace {

struct ArchiveFree {
    void operator()(archive* a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveFree>;

std::string errorOf(archive* a) {
    const char* text = archive_error_string(a);
    return text ? text : "unreadable archive";
}

std::string sizeText(std::uint64_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// Whether an outer member's name is `base` ("control.tar", "data.tar") as the package manager writes it: bare or
// with the suffix of a compression it reads.
bool isTarball(const std::string& name, const std::string& base) {
    if (name == base) return true;
    for (const char* suffix : {".gz", ".xz", ".zst", ".bz2", ".lzma"})
        if (name == base + suffix) return true;
    return false;
}

// An inner tarball read from memory. Only the compressions the member names allow are enabled, each done by a
// library inside this process: libarchive's catch-all would also hand some formats to programs of the machine.
ArchivePtr openTarball(const std::string& bytes, std::string& error) {
    ArchivePtr tar(archive_read_new());
    archive_read_support_filter_gzip(tar.get());
    archive_read_support_filter_xz(tar.get());
    archive_read_support_filter_lzma(tar.get());
    archive_read_support_filter_zstd(tar.get());
    archive_read_support_filter_bzip2(tar.get());
    archive_read_support_format_tar(tar.get());
    if (archive_read_open_memory(tar.get(), bytes.data(), bytes.size()) == ARCHIVE_OK) return tar;
    error = errorOf(tar.get());
    return nullptr;
}

// Counts a tarball's entries and declared sizes against the limits.
class Budget {
public:
    Budget(const fs::path& deb, const DebLimits& limits) : m_deb(deb), m_limits(limits) {}

    std::optional<std::string> take(archive_entry* entry) {
        if (++m_entries > m_limits.entries)
            return m_deb.string() + " holds more than " + std::to_string(m_limits.entries) +
                   " entries in a tarball, more than the installer takes";
        const la_int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
        const std::uint64_t bytes = size > 0 ? static_cast<std::uint64_t>(size) : 0;
        if (bytes > m_limits.unpackedBytes - m_bytes)
            return m_deb.string() + " unpacks to more than " + sizeText(m_limits.unpackedBytes) +
                   ", more than the installer takes";
        m_bytes += bytes;
        return std::nullopt;
    }

private:
    const fs::path& m_deb;
    const DebLimits& m_limits;
    std::size_t m_entries = 0;
    std::uint64_t m_bytes = 0;
};

// The parts of an entry's name: a leading "./" or "/" and empty or "." parts dropped. Nothing when a part is "..".
std::optional<std::vector<std::string>> nameParts(const std::string& name) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        std::string part = name.substr(start, end - start);
        if (part == "..") return std::nullopt;
        if (!part.empty() && part != ".") parts.push_back(std::move(part));
        start = end + 1;
    }
    return parts;
}

std::string partsPath(const std::vector<std::string>& parts, std::size_t count) {
    std::string path;
    for (std::size_t i = 0; i < count; ++i) path += (i ? "/" : "") + parts[i];
    return path;
}

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Fd(Fd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;

    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Writes the data tarball's entries below one folder with plain calls relative to it. What it made is kept in
// `m_kinds`, the one place that judges names against each other; every folder on the way is then opened with
// O_NOFOLLOW as well, so a link could not be written through even if that record were wrong.
class Unpacker {
public:
    Unpacker(const fs::path& deb, Fd top) : m_deb(deb), m_top(std::move(top)) {}

    std::optional<std::string> add(archive* tar, archive_entry* entry) {
        const char* raw = archive_entry_pathname(entry);
        const std::string name = raw ? raw : "";
        if (name.find_first_of("\n\r") != std::string::npos) {
            std::size_t start = 0;
            while (name.compare(start, 2, "./") == 0 || name.compare(start, 1, "/") == 0)
                start += name[start] == '/' ? 1 : 2;
            std::string shown = name.substr(start);
            std::replace_if(shown.begin(), shown.end(), [](char c) { return c == '\n' || c == '\r'; }, '?');
            return m_deb.string() + " holds a name with a line break (/" + shown +
                   "), which its file list cannot record";
        }
        const auto parts = nameParts(name);
        if (!parts) return m_deb.string() + " holds a name that climbs out with \"..\" (" + name + ")";
        const mode_t type = archive_entry_filetype(entry);
        const char* hardlink = archive_entry_hardlink(entry);
        if (parts->empty()) {
            // The tarball's own top folder ("./"), which dpkg-deb writes first.
            if (type == AE_IFDIR && !hardlink) return std::nullopt;
            return m_deb.string() + " holds an entry without a name";
        }
        const std::string path = partsPath(*parts, parts->size());
        if (!hardlink && type != AE_IFREG && type != AE_IFDIR && type != AE_IFLNK)
            return m_deb.string() + " holds /" + path + ", which is neither file, link nor folder";

        std::string why;
        Fd parent = parentOf(*parts, why);
        if (!parent.isOpen()) return why;
        const std::string& base = parts->back();
        const auto existing = m_kinds.find(path);
        if (type == AE_IFDIR && !hardlink) {
            if (existing != m_kinds.end()) {
                if (existing->second == Kind::Folder) return std::nullopt;
                return m_deb.string() + " holds /" + path + " as a folder after a file of that name";
            }
            if (::mkdirat(parent.get(), base.c_str(), 0755) != 0) return failed(path);
            m_kinds[path] = Kind::Folder;
            return std::nullopt;
        }
        if (existing != m_kinds.end()) {
            if (existing->second == Kind::Folder)
                return m_deb.string() + " holds /" + path + " as a file after a folder of that name";
            if (hardlink && parts == nameParts(hardlink))
                return m_deb.string() + " holds a hard link /" + path + " to itself";
            // A later entry of the same name replaces the earlier one, as tar does.
            if (::unlinkat(parent.get(), base.c_str(), 0) != 0) return failed(path);
            m_kinds.erase(existing);
        }
        if (hardlink) return addHardLink(*parts, path, hardlink, parent);
        if (type == AE_IFLNK) {
            const char* target = archive_entry_symlink(entry);
            if (::symlinkat(target ? target : "", parent.get(), base.c_str()) != 0) return failed(path);
            m_kinds[path] = Kind::Link;
            return std::nullopt;
        }
        return addFile(tar, entry, path, base, parent);
    }

    StagedTree tree() const {
        StagedTree tree;
        for (const auto& [path, kind] : m_kinds) (kind == Kind::Folder ? tree.folders : tree.files).push_back(path);
        std::sort(tree.folders.begin(), tree.folders.end());
        std::sort(tree.files.begin(), tree.files.end());
        return tree;
    }

private:
    enum class Kind { Folder, File, Link };

    std::string failed(const std::string& path) const {
        return "cannot unpack /" + path + " of " + m_deb.string() + ": " + std::strerror(errno);
    }

    // The folder that holds the entry, with the folders on the way made where the package did not name them; not
    // open (with `why` set) when one of them is a file or link of the package.
    Fd parentOf(const std::vector<std::string>& parts, std::string& why) {
        Fd folder(::openat(m_top.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        for (std::size_t i = 0; i + 1 < parts.size() && folder.isOpen(); ++i) {
            const std::string path = partsPath(parts, i + 1);
            const auto known = m_kinds.find(path);
            if (known == m_kinds.end()) {
                if (::mkdirat(folder.get(), parts[i].c_str(), 0755) != 0) {
                    why = failed(path);
                    return Fd(-1);
                }
                m_kinds[path] = Kind::Folder;
            } else if (known->second != Kind::Folder) {
                const char* what = known->second == Kind::Link ? "a symbolic link" : "a file";
                why = m_deb.string() + " holds /" + partsPath(parts, parts.size()) + " inside /" + path +
                      ", which is " + what + " of the package";
                return Fd(-1);
            }
            folder = Fd(::openat(folder.get(), parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        }
        if (!folder.isOpen()) why = failed(partsPath(parts, parts.size()));
        return folder;
    }

    std::optional<std::string> addHardLink(const std::vector<std::string>& parts, const std::string& path,
                                           const char* target, const Fd& parent) {
        const auto targetParts = nameParts(target);
        const std::string targetPath = targetParts ? partsPath(*targetParts, targetParts->size()) : target;
        const auto known = m_kinds.find(targetPath);
        if (!targetParts || targetParts->empty() || known == m_kinds.end() || known->second != Kind::File)
            return m_deb.string() + " holds a hard link /" + path + " to " + target +
                   ", which is no earlier file of the package";
        std::string why;
        const Fd targetParent = parentOf(*targetParts, why);
        if (!targetParent.isOpen()) return why;
        // Without AT_SYMLINK_FOLLOW: the link is made to the entry itself, which is a regular file of our own.
        if (::linkat(targetParent.get(), targetParts->back().c_str(), parent.get(), parts.back().c_str(), 0) != 0)
            return failed(path);
        m_kinds[path] = Kind::File;
        return std::nullopt;
    }

    std::optional<std::string> addFile(archive* tar, archive_entry* entry, const std::string& path,
                                       const std::string& base, const Fd& parent) {
        // Plain permissions only: a package's file is never set-user-ID or set-group-ID in the device root.
        const mode_t mode = (archive_entry_perm(entry) & 0111) ? 0755 : 0644;
        const Fd out(::openat(parent.get(), base.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!out.isOpen() || ::fchmod(out.get(), mode) != 0) return failed(path);
        m_kinds[path] = Kind::File;
        char buffer[64 << 10];
        for (;;) {
            const la_ssize_t n = archive_read_data(tar, buffer, sizeof buffer);
            if (n == 0) return std::nullopt;
            if (n < 0) return m_deb.string() + " is damaged: " + errorOf(tar);
            for (la_ssize_t done = 0; done < n;) {
                const ssize_t written = ::write(out.get(), buffer + done, static_cast<std::size_t>(n - done));
                if (written < 0 && errno == EINTR) continue;
                if (written <= 0) return failed(path);
                done += written;
            }
        }
    }

    const fs::path& m_deb;
    Fd m_top;
    std::map<std::string, Kind> m_kinds;
};

// Reads the outer member the archive is at into `out`; nothing when it did, else why not.
std::optional<std::string> readMember(archive* ar, archive_entry* entry, const fs::path& deb, const DebLimits& limits,
                                      std::string& out) {
    const std::string name = archive_entry_pathname(entry);
    if (archive_entry_size(entry) > static_cast<la_int64_t>(limits.unpackedBytes))
        return deb.string() + " holds a " + name + " of more than " + sizeText(limits.unpackedBytes) +
               ", more than the installer takes";
    out.clear();
    char buffer[64 << 10];
    for (;;) {
        const la_ssize_t n = archive_read_data(ar, buffer, sizeof buffer);
        if (n == 0) return std::nullopt;
        if (n < 0) return deb.string() + " is no readable package: " + errorOf(ar);
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

std::optional<DebArchive> DebArchive::open(const fs::path& deb, std::string& why, DebLimits limits) {
    std::error_code ec;
    if (!fs::is_regular_file(deb, ec)) {
        why = "no package at " + deb.string();
        return std::nullopt;
    }
    ArchivePtr ar(archive_read_new());
    archive_read_support_format_ar(ar.get());
    if (archive_read_open_filename(ar.get(), deb.c_str(), 64 << 10) != ARCHIVE_OK) {
        why = deb.string() + " is no readable package: " + errorOf(ar.get());
        return std::nullopt;
    }
    DebArchive package(deb, limits);
    // The members in the order they must come; "_" members between them are skipped.
    const struct {
        const char* name;
        std::string* bytes;
    } wanted[] = {{"debian-binary", nullptr}, {"control.tar", &package.m_control}, {"data.tar", &package.m_data}};
    std::string version;
    for (const auto& want : wanted) {
        for (;;) {
            archive_entry* entry = nullptr;
            const int read = archive_read_next_header(ar.get(), &entry);
            if (read == ARCHIVE_EOF) {
                why = deb.string() + " is no complete package: it has no " + want.name + " member";
                return std::nullopt;
            }
            if (read < ARCHIVE_WARN) {
                why = deb.string() + " is no readable package: " + errorOf(ar.get());
                return std::nullopt;
            }
            const char* raw = archive_entry_pathname(entry);
            const std::string name = raw ? raw : "";
            if (want.bytes && name.starts_with('_')) continue;
            const bool found = want.bytes ? isTarball(name, want.name) : name == want.name;
            if (!found) {
                why = deb.string() + " is no Debian package: it holds \"" + name + "\" where " + want.name +
                      " belongs";
                return std::nullopt;
            }
            if (auto failure = readMember(ar.get(), entry, deb, limits, want.bytes ? *want.bytes : version)) {
                why = *failure;
                return std::nullopt;
            }
            break;
        }
        if (!want.bytes && !version.starts_with("2.")) {
            const std::string shown = version.substr(0, std::min(version.find('\n'), std::size_t{16}));
            why = deb.string() + " is a package of format \"" + shown + "\"; only format 2.x is read";
            return std::nullopt;
        }
    }
    return package;
}

std::optional<std::string> DebArchive::controlText(std::string& why) const {
    std::string error;
    const ArchivePtr tar = openTarball(m_control, error);
    if (!tar) {
        why = m_deb.string() + " has a damaged control.tar: " + error;
        return std::nullopt;
    }
    Budget budget(m_deb, m_limits);
    archive_entry* entry = nullptr;
    for (int read; (read = archive_read_next_header(tar.get(), &entry)) != ARCHIVE_EOF;) {
        if (read < ARCHIVE_WARN) {
            why = m_deb.string() + " has a damaged control.tar: " + errorOf(tar.get());
            return std::nullopt;
        }
        if (auto over = budget.take(entry)) {
            why = *over;
            return std::nullopt;
        }
        const char* raw = archive_entry_pathname(entry);
        const bool isControl = raw && nameParts(raw) == std::vector<std::string>{"control"};
        if (!isControl || archive_entry_filetype(entry) != AE_IFREG || archive_entry_hardlink(entry))
            continue;
        std::string text;
        char buffer[16 << 10];
        for (la_ssize_t n; (n = archive_read_data(tar.get(), buffer, sizeof buffer)) != 0;) {
            if (n < 0) {
                why = m_deb.string() + " has a damaged control.tar: " + errorOf(tar.get());
                return std::nullopt;
            }
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }
    why = m_deb.string() + " has no control file";
    return std::nullopt;
}

std::optional<StagedTree> DebArchive::unpackInto(const fs::path& folder, std::string& why) const {
    Fd top(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!top.isOpen()) {
        why = "cannot unpack into " + folder.string() + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::string error;
    const ArchivePtr tar = openTarball(m_data, error);
    if (!tar) {
        why = m_deb.string() + " is damaged: " + error;
        return std::nullopt;
    }
    Budget budget(m_deb, m_limits);
    Unpacker unpacker(m_deb, std::move(top));
    archive_entry* entry = nullptr;
    for (int read; (read = archive_read_next_header(tar.get(), &entry)) != ARCHIVE_EOF;) {
        if (read < ARCHIVE_WARN) {
            why = m_deb.string() + " is damaged: " + errorOf(tar.get());
            return std::nullopt;
        }
        auto refusal = budget.take(entry);
        if (!refusal) refusal = unpacker.add(tar.get(), entry);
        if (refusal) {
            why = *refusal;
            return std::nullopt;
        }
    }
    return unpacker.tree();
}

}  // namespace sim::install
