#include "sim/install/PackageInstaller.h"

#include "sim/Loader.h"
#include "sim/install/ProgramRun.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace sim::install {
namespace {

constexpr const char* kDpkgInfo = "var/lib/dpkg/info";
constexpr const char* kDpkgStatus = "var/lib/dpkg/status";

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
    return s;
}

// Package names become file names of the root, so only the characters Debian allows in them pass.
bool isValidPackageName(const std::string& name) {
    if (name.size() < 2 || !std::isalnum(static_cast<unsigned char>(name[0]))) return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-';
    });
}

// The control file's fields in order, as "Name: value" lines (continuation lines kept with their field).
struct Control {
    std::vector<std::pair<std::string, std::string>> fields;
    std::string field(const std::string& name) const {
        for (const auto& [k, v] : fields)
            if (k == name) return v;
        return {};
    }
};

Control parseControl(const std::string& text) {
    Control control;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !control.fields.empty()) {
            control.fields.back().second += "\n" + line;
            continue;
        }
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        control.fields.emplace_back(line.substr(0, colon), trimmed(value));
    }
    return control;
}

// The status file as paragraphs, keyed by package, in file order.
std::vector<std::pair<std::string, std::string>> readStatus(const fs::path& root) {
    std::ifstream in(root / kDpkgStatus);
    std::vector<std::pair<std::string, std::string>> paragraphs;
    std::string line, current, name;
    auto flush = [&] {
        if (!current.empty()) paragraphs.emplace_back(name, current);
        current.clear();
        name.clear();
    };
    while (std::getline(in, line)) {
        if (trimmed(line).empty()) {
            flush();
            continue;
        }
        if (line.rfind("Package:", 0) == 0) {
            std::string value = line.substr(8);
            value.erase(0, value.find_first_not_of(' '));
            name = trimmed(value);
        }
        current += line + "\n";
    }
    flush();
    return paragraphs;
}

bool writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

std::string devicePathOf(const fs::path& relative) { return "/" + relative.generic_string(); }

struct StagedTree {
    std::vector<fs::path> folders;  // relative, parents before children
    std::vector<fs::path> files;    // regular files and symbolic links, relative
};

// Everything the package unpacked; nothing when it holds something a package may not install (a device, a pipe).
std::optional<StagedTree> scanStaged(const fs::path& top, std::string& why) {
    StagedTree tree;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(top, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const fs::path rel = fs::relative(it->path(), top);
        const auto status = it->symlink_status();
        if (fs::is_symlink(status) || fs::is_regular_file(status)) tree.files.push_back(rel);
        else if (fs::is_directory(status)) tree.folders.push_back(rel);
        else {
            why = "the package holds " + devicePathOf(rel) + ", which is neither file, link nor folder";
            return std::nullopt;
        }
    }
    if (ec) {
        why = "cannot read the unpacked package: " + ec.message();
        return std::nullopt;
    }
    std::sort(tree.folders.begin(), tree.folders.end());
    std::sort(tree.files.begin(), tree.files.end());
    return tree;
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

std::string statusParagraph(const Control& control) {
    std::string text;
    for (const auto& [k, v] : control.fields) {
        text += k + ": " + v + "\n";
        if (k == "Package") text += "Status: install ok installed\n";
    }
    return text;
}

}  // namespace

InstallResult installPackage(const fs::path& deb, const fs::path& root) {
    InstallResult result;
    std::error_code ec;
    if (!fs::is_regular_file(deb, ec)) {
        result.error = "no package at " + deb.string();
        return result;
    }
    const ProgramOutput info = runProgram({"dpkg-deb", "--field", deb.string()});
    if (!info.succeeded()) {
        result.error = deb.string() + " is no readable package: " + trimmed(info.err.empty() ? info.out : info.err);
        return result;
    }
    const Control control = parseControl(info.out);
    result.package = control.field("Package");
    result.version = control.field("Version");
    if (!isValidPackageName(result.package)) {
        result.error = deb.string() + " names no valid package (\"" + result.package + "\")";
        return result;
    }

    const bool rootExisted = fs::exists(root, ec);
    fs::create_directories(root, ec);
    if (ec || !fs::is_directory(root)) {
        result.error = "cannot use " + root.string() + " as device root";
        return result;
    }
    // Inside the root, so that moving a file into place is a rename on the same file system.
    const fs::path staging = root / (".staging-" + result.package + "-" + std::to_string(::getpid()));
    auto abandon = [&](std::string why) {
        fs::remove_all(staging, ec);
        if (!rootExisted) fs::remove_all(root, ec);
        result.error = std::move(why);
        result.installed.clear();
        result.removed.clear();
        return result;
    };
    fs::remove_all(staging, ec);
    fs::create_directories(staging / "files", ec);
    if (ec) return abandon("cannot stage in " + root.string() + ": " + ec.message());

    const ProgramOutput unpacked = runProgram({"dpkg-deb", "--extract", deb.string(), (staging / "files").string()});
    if (!unpacked.succeeded())
        return abandon(deb.string() + " is damaged: " + trimmed(unpacked.err.empty() ? unpacked.out : unpacked.err));
    std::string why;
    const auto tree = scanStaged(staging / "files", why);
    if (!tree) return abandon(why);
    if (tree->files.empty()) return abandon(deb.string() + " installs no files");
    for (const auto& file : tree->files) {
        const auto existing = fs::symlink_status(root / file);
        if (fs::is_directory(existing)) return abandon(devicePathOf(file) + " is a folder in the device root");
    }
    for (const auto& folder : tree->folders) {
        const auto existing = fs::symlink_status(root / folder);
        if (fs::exists(existing) && !fs::is_directory(existing))
            return abandon(devicePathOf(folder) + " is a file in the device root, the package needs a folder there");
    }

    // The records are written beside the staged files first, so that putting them in place is a rename too.
    std::string list = "/.\n";
    for (const auto& folder : tree->folders) list += devicePathOf(folder) + "\n";
    for (const auto& file : tree->files) list += devicePathOf(file) + "\n";
    std::string status;
    bool replacedParagraph = false;
    for (const auto& [name, paragraph] : readStatus(root)) {
        if (!status.empty()) status += "\n";
        if (name == result.package) {
            status += statusParagraph(control);
            replacedParagraph = true;
        } else {
            status += paragraph;
        }
    }
    if (!replacedParagraph) status += (status.empty() ? "" : "\n") + statusParagraph(control);
    if (!writeText(staging / "list", list) || !writeText(staging / "status", status))
        return abandon("cannot write the package records in " + root.string());

    const std::vector<std::string> previous = installedFiles(root, result.package);
    Transaction transaction(root, staging);
    if (!transaction.commit(*tree, why)) return abandon(why);

    std::set<std::string> now;
    for (const auto& file : tree->files) now.insert(devicePathOf(file));
    const std::set<fs::path> keep(tree->folders.begin(), tree->folders.end());
    for (const auto& old : previous) {
        if (now.count(old)) continue;
        const fs::path target = root / fs::path(old).relative_path();
        if (fs::remove(target, ec)) result.removed.push_back(old);
        pruneEmptyFolders(root, target.parent_path(), keep);
    }
    fs::create_directories(root / kDpkgInfo, ec);
    fs::rename(staging / "list", root / kDpkgInfo / (result.package + ".list"), ec);
    fs::rename(staging / "status", root / kDpkgStatus, ec);
    fs::remove_all(staging, ec);
    result.installed.assign(now.begin(), now.end());
    std::sort(result.removed.begin(), result.removed.end());
    return result;
}

std::vector<std::string> installedFiles(const fs::path& root, const std::string& package) {
    std::vector<std::string> files;
    if (!isValidPackageName(package)) return files;
    std::ifstream in(root / kDpkgInfo / (package + ".list"));
    std::string line;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line == "/.") continue;
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
        const std::string version = parseControl(paragraph).field("Version");
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
