#include "sim/install/PackageInstaller.h"

#include "platform/core/DeviceRoot.h"
#include "sim/Loader.h"
#include "sim/install/ControlFile.h"
#include "sim/install/DebArchive.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>

#include <csignal>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim::install {
namespace {

constexpr const char* kDpkgInfo = "var/lib/dpkg/info";
constexpr const char* kDpkgStatus = "var/lib/dpkg/status";
constexpr const char* kStagingPrefix = ".staging-";

// Package names become file names of the root, so only the characters Debian allows in them pass.
bool isValidPackageName(const std::string& name) {
    if (name.size() < 2 || !std::isalnum(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-';
    });
}

// The status file as paragraphs, keyed by package, in file order.
std::vector<std::pair<std::string, std::string>> readStatus(const fs::path& root) {
    std::ifstream in(root / kDpkgStatus, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return statusParagraphs(text.str());
}

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

std::string devicePathOf(const fs::path& relative) { return "/" + relative.generic_string(); }

// A path below the root spelled plainly: no "..", "." or empty parts, so that it names one place lexically.
bool isPlainRelative(const fs::path& relative) {
    if (relative.empty() || relative.is_absolute()) return false;
    for (const auto& part : relative) {
        const std::string s = part.string();
        if (s.empty() || s == "." || s == "..") return false;
    }
    return true;
}

// Whether the folder that holds `relative` is inside the root once every symbolic link on the way is followed. The
// last component is not followed: it is what gets installed, replaced or removed, as a link if it is one.
bool folderStaysInside(const fs::path& root, const fs::path& relative) {
    return platform::resolveBelow(root, relative.parent_path()).has_value();
}

// Removes `start` and its parents up to (not including) `root` while they are empty folders that nothing keeps.
void pruneEmptyFolders(const fs::path& root, fs::path start, const std::set<fs::path>& keep) {
    std::error_code ec;
    while (!start.empty() && start != root && start.string().size() > root.string().size()) {
        const fs::path rel = fs::relative(start, root, ec);
        if (ec || keep.count(rel) || !fs::is_directory(fs::symlink_status(start)) || !fs::is_empty(start, ec)) return;
        fs::remove(start, ec);
        start = start.parent_path();
    }
}

class Transaction {
public:
    Transaction(fs::path root, fs::path staging) : m_root(std::move(root)), m_staging(std::move(staging)) {}

    // Puts every staged file in place; false (with everything undone) when a step fails.
    bool commit(const StagedTree& tree, std::string& why) {
        std::error_code ec;
        for (const auto& folder : tree.folders) {
            const fs::path target = m_root / folder;
            if (fs::is_directory(fs::symlink_status(target))) continue;
            if (!fs::create_directory(target, ec) || ec) return fail("cannot create " + devicePathOf(folder), ec, why);
            m_createdFolders.push_back(target);
        }
        for (const auto& file : tree.files) {
            const fs::path target = m_root / file;
            const fs::path backup = m_staging / "replaced" / file;
            if (fs::exists(fs::symlink_status(target))) {
                fs::create_directories(backup.parent_path(), ec);
                if (!ec) fs::rename(target, backup, ec);
                if (ec) return fail("cannot replace " + devicePathOf(file), ec, why);
                m_moved.push_back({target, backup});
            } else {
                m_moved.push_back({target, {}});
            }
            fs::rename(m_staging / "files" / file, target, ec);
            if (ec) return fail("cannot install " + devicePathOf(file), ec, why);
        }
        return true;
    }

private:
    bool fail(const std::string& what, const std::error_code& ec, std::string& why) {
        why = what + ": " + ec.message();
        rollback();
        return false;
    }

    void rollback() {
        std::error_code ec;
        for (auto it = m_moved.rbegin(); it != m_moved.rend(); ++it) {
            fs::remove(it->target, ec);
            if (!it->backup.empty()) fs::rename(it->backup, it->target, ec);
        }
        for (auto it = m_createdFolders.rbegin(); it != m_createdFolders.rend(); ++it) fs::remove(*it, ec);
    }

    struct Moved {
        fs::path target;
        fs::path backup;  // empty when nothing was there before
    };
    fs::path m_root;
    fs::path m_staging;
    std::vector<Moved> m_moved;
    std::vector<fs::path> m_createdFolders;
};

// The staging folder inside the root (so that moving a file into place is a rename on the same file system),
// removed on every way out of an install; a refused install into a root that did not exist takes the root too.
class Staging {
public:
    Staging(fs::path root, const std::string& package, bool rootExisted)
        : m_root(std::move(root)), m_rootExisted(rootExisted),
          m_folder(m_root / (kStagingPrefix + package + "-" + std::to_string(::getpid()))) {}
    ~Staging() {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
        if (!m_done && !m_rootExisted) fs::remove_all(m_root, ec);
    }
    Staging(const Staging&) = delete;
    Staging& operator=(const Staging&) = delete;

    const fs::path& folder() const { return m_folder; }
    fs::path files() const { return m_folder / "files"; }
    void done() { m_done = true; }

private:
    fs::path m_root;
    bool m_rootExisted;
    fs::path m_folder;
    bool m_done = false;
};

// Staging folders of installs that were killed half-way: their process is gone, so nothing will remove them but the
// next install. A folder whose process still runs belongs to an install in progress and stays.
void removeAbandonedStaging(const fs::path& root) {
    std::error_code ec;
    std::vector<fs::path> abandoned;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(kStagingPrefix, 0) != 0 || !fs::is_directory(it->symlink_status())) continue;
        const std::string pid = name.substr(name.rfind('-') + 1);
        const bool numeric = !pid.empty() && pid.size() < 10 && pid.find_first_not_of("0123456789") == std::string::npos;
        if (numeric && (::kill(std::stoi(pid), 0) == 0 || errno == EPERM)) continue;
        abandoned.push_back(it->path());
    }
    for (const auto& folder : abandoned) fs::remove_all(folder, ec);
}

// Step 1: the control file. Nothing when it names a valid package; else why not.
std::optional<std::string> readControl(const DebArchive& archive, const fs::path& deb, Control& control) {
    std::string why;
    const auto text = archive.controlText(why);
    if (!text) return why;
    ControlRead read = readControlText(*text);
    if (read.error) return deb.string() + " has a damaged control file: " + *read.error;
    control = std::move(read.control);
    if (!isValidPackageName(control.field("Package")))
        return deb.string() + " names no valid package (\"" + control.field("Package") + "\")";
    return std::nullopt;
}

// Step 2: the package's files, unpacked into the staging folder and listed.
std::optional<StagedTree> unpack(const DebArchive& archive, const fs::path& deb, const Staging& staging,
                                 std::string& why) {
    std::error_code ec;
    fs::remove_all(staging.folder(), ec);
    fs::create_directories(staging.files(), ec);
    if (ec) {
        why = "cannot stage in " + staging.folder().parent_path().string() + ": " + ec.message();
        return std::nullopt;
    }
    auto tree = archive.unpackInto(staging.files(), why);
    if (tree && tree->files.empty()) {
        why = deb.string() + " installs no files";
        return std::nullopt;
    }
    return tree;
}

// Step 3: whether the tree fits the root: no file where the root has a folder or the reverse, and nothing (the
// package manager's records included) in a folder that a symbolic link of the root leads out of it.
std::optional<std::string> checkAgainstRoot(const fs::path& root, const StagedTree& tree) {
    auto outside = [](const fs::path& rel) {
        return devicePathOf(rel) + " would be installed outside the device root, through a symbolic link";
    };
    for (const auto& file : tree.files) {
        if (!folderStaysInside(root, file)) return outside(file);
        if (fs::is_directory(fs::symlink_status(root / file))) return devicePathOf(file) + " is a folder in the device root";
    }
    for (const auto& folder : tree.folders) {
        if (!folderStaysInside(root, folder)) return outside(folder);
        const auto existing = fs::symlink_status(root / folder);
        if (fs::exists(existing) && !fs::is_directory(existing))
            return devicePathOf(folder) + " is a file in the device root, the package needs a folder there";
    }
    for (const fs::path& records : {fs::path(kDpkgInfo) / "x", fs::path(kDpkgStatus)})
        if (!folderStaysInside(root, records)) return outside(records.parent_path());
    return std::nullopt;
}

// Step 4: the file list and the status file, written beside the staged files so that putting them in place is a
// rename too.
bool writeRecords(const fs::path& root, const Staging& staging, const StagedTree& tree, const Control& control) {
    std::string list = "/.\n";
    for (const auto& folder : tree.folders) list += devicePathOf(folder) + "\n";
    for (const auto& file : tree.files) list += devicePathOf(file) + "\n";
    const std::string package = control.field("Package");
    std::string status;
    bool replacedParagraph = false;
    for (const auto& [name, paragraph] : readStatus(root)) {
        if (!status.empty()) status += "\n";
        if (name == package) {
            status += statusParagraph(control);
            replacedParagraph = true;
        } else {
            status += paragraph;
        }
    }
    if (!replacedParagraph) status += (status.empty() ? "" : "\n") + statusParagraph(control);
    return writeText(staging.folder() / "list", list) && writeText(staging.folder() / "status", status);
}

// Step 6: the previous installation's files that the new one lacks, removed (links as links), with the folders
// they leave empty. An entry of the list that is not a plain path below the root, or whose folder a link leads out
// of it, is not the package's to remove and stays.
std::vector<std::string> removeDropped(const fs::path& root, const std::vector<std::string>& previous,
                                       const StagedTree& tree) {
    std::set<std::string> now;
    for (const auto& file : tree.files) now.insert(devicePathOf(file));
    const std::set<fs::path> keep(tree.folders.begin(), tree.folders.end());
    std::vector<std::string> removed;
    std::error_code ec;
    for (const auto& old : previous) {
        const fs::path rel = fs::path(old).relative_path();
        if (now.count(old) || !isPlainRelative(rel) || !folderStaysInside(root, rel)) continue;
        const fs::path target = root / rel;
        if (fs::remove(target, ec)) removed.push_back(old);
        pruneEmptyFolders(root, target.parent_path(), keep);
    }
    std::sort(removed.begin(), removed.end());
    return removed;
}

InstallResult refused(InstallResult result, std::string why) {
    result.error = std::move(why);
    result.installed.clear();
    result.removed.clear();
    return result;
}

}  // namespace

InstallResult installPackage(const fs::path& deb, const fs::path& root) {
    InstallResult result;
    std::string why;
    const auto archive = DebArchive::open(deb, why);
    if (!archive) return refused(result, why);
    Control control;
    if (auto misread = readControl(*archive, deb, control)) return refused(result, *misread);
    result.package = control.field("Package");
    result.version = control.field("Version");

    std::error_code ec;
    const bool rootExisted = fs::exists(root, ec);
    fs::create_directories(root, ec);
    if (ec || !fs::is_directory(root, ec)) return refused(result, "cannot use " + root.string() + " as device root");
    removeAbandonedStaging(root);
    Staging staging(root, result.package, rootExisted);

    const auto tree = unpack(*archive, deb, staging, why);
    if (!tree) return refused(result, why);
    if (auto misfit = checkAgainstRoot(root, *tree)) return refused(result, *misfit);
    if (!writeRecords(root, staging, *tree, control))
        return refused(result, "cannot write the package records in " + root.string());

    // Step 5: the files into place, all or none.
    const std::vector<std::string> previous = installedFiles(root, result.package);
    Transaction transaction(root, staging.folder());
    if (!transaction.commit(*tree, why)) return refused(result, why);

    result.removed = removeDropped(root, previous, *tree);
    fs::create_directories(root / kDpkgInfo, ec);
    fs::rename(staging.folder() / "list", root / kDpkgInfo / (result.package + ".list"), ec);
    fs::rename(staging.folder() / "status", root / kDpkgStatus, ec);
    staging.done();
    for (const auto& file : tree->files) result.installed.push_back(devicePathOf(file));
    std::sort(result.installed.begin(), result.installed.end());
    return result;
}

std::vector<std::string> installedFiles(const fs::path& root, const std::string& package) {
    std::vector<std::string> files;
    if (!isValidPackageName(package)) return files;
    std::ifstream in(root / kDpkgInfo / (package + ".list"));
    std::string line;
    while (std::getline(in, line)) {
        // A blank at a line's end belongs to the name ("Read Me "). A carriage return cannot (names with one are
        // refused), so it is the line end of a list written with CR LF.
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line == "/.") continue;
        // Only plain device paths are the package's; a list edited to climb out of the root names nothing here.
        if (line.front() != '/' || !isPlainRelative(fs::path(line).relative_path())) continue;
        // The list names folders too, as dpkg's does; what is a folder now is not the package's to remove.
        if (fs::is_directory(fs::symlink_status(root / fs::path(line).relative_path()))) continue;
        files.push_back(line);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<std::string> installedVersion(const fs::path& root, const std::string& package) {
    for (const auto& [name, paragraph] : readStatus(root)) {
        if (name != package) continue;
        const std::string version = readControlText(paragraph).control.field("Version");
        if (!version.empty()) return version;
    }
    return std::nullopt;
}

std::optional<fs::path> defaultPackage() {
    for (const fs::path& candidate : {executableFolder() / "Vantile.deb", fs::path(VANTILE_BUILD_DIR) / "Vantile.deb"})
        if (fs::is_regular_file(candidate)) return candidate;
    return std::nullopt;
}

}  // namespace sim::install
