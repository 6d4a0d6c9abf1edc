// Installing a Debian package into a device root. The input is turned into a real package, written member by
// member (an "ar" archive of debian-binary, control.tar and data.tar, uncompressed, as dpkg-deb accepts them) so
// that the fuzzer spends its inputs on what the installer must judge: names that climb out with "..", absolute
// names, links that lead out of the root, devices and pipes, files that collide with folders, control files of
// every shape. Each input is installed into a throw-away root beside a folder that stands for the rest of the
// machine.
//
// The contract: nothing outside the root ever changes; a refused package leaves the root exactly as it was; an
// accepted one installs what it says it installed, inside the root, and the records name it with its version.

#include "sim/install/PackageInstaller.h"
#include "tests/fuzz/FuzzValue.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Tree = std::map<std::string, std::string>;

std::string octal(std::uint64_t value, std::size_t width) {
    std::string digits(width - 1, '0');
    for (std::size_t i = width - 1; i-- > 0 && value;) {
        digits[i] = static_cast<char>('0' + (value & 7));
        value >>= 3;
    }
    return digits;
}

void put(std::string& header, std::size_t at, const std::string& field, std::size_t width) {
    header.replace(at, std::min(field.size(), width), field.substr(0, width));
}

struct TarEntry {
    std::string name;
    char type;  // '0' file, '5' folder, '2' symbolic link, '1' hard link, '6' pipe, '3' character device
    std::string link;
    std::string data;
};

std::string tarArchive(const std::vector<TarEntry>& entries) {
    std::string tar;
    for (const TarEntry& entry : entries) {
        std::string header(512, '\0');
        put(header, 0, entry.name, 100);
        put(header, 100, octal(entry.type == '5' ? 0755 : 0644, 8), 8);
        put(header, 108, octal(0, 8), 8);
        put(header, 116, octal(0, 8), 8);
        put(header, 124, octal(entry.type == '0' ? entry.data.size() : 0, 12), 12);
        put(header, 136, octal(0, 12), 12);
        header[156] = entry.type;
        put(header, 157, entry.link, 100);
        put(header, 257, std::string("ustar\0" "00", 8), 8);
        put(header, 265, "root", 32);
        put(header, 297, "root", 32);
        header.replace(148, 8, 8, ' ');
        unsigned sum = 0;
        for (unsigned char c : header) sum += c;
        put(header, 148, octal(sum, 7) + std::string("\0 ", 2), 8);
        tar += header;
        if (entry.type == '0') {
            tar += entry.data;
            tar.append((512 - entry.data.size() % 512) % 512, '\0');
        }
    }
    tar.append(1024, '\0');
    return tar;
}

std::string arArchive(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string ar = "!<arch>\n";
    for (const auto& [name, data] : members) {
        std::string header(60, ' ');
        put(header, 0, name, 16);
        put(header, 16, "0", 12);
        put(header, 28, "0", 6);
        put(header, 34, "0", 6);
        put(header, 40, "100644", 8);
        put(header, 48, std::to_string(data.size()), 10);
        put(header, 58, "`\n", 2);
        ar += header + data;
        if (data.size() % 2) ar += '\n';
    }
    return ar;
}

// Path parts chosen to reach the installer's judgements; the fuzzer may also give raw text.
std::string pathFrom(FuzzedDataProvider& input) {
    static const char* const kParts[] = {"Library", "..", ".", "usr", "lib", "var", "lib/dpkg", "info", "status",
                                         "mobile", "a", "b.dylib", "", "escape", "folder", "file"};
    std::string path = input.ConsumeBool() ? "./" : "";
    // Raw text may start with "/" as well; tar takes a leading "/" off.
    const int parts = input.ConsumeIntegralInRange(1, 5);
    for (int i = 0; i < parts; ++i) {
        if (i) path += '/';
        path += input.ConsumeBool() ? std::string(kParts[input.ConsumeIntegralInRange<std::size_t>(0, 15)])
                                    : input.ConsumeRandomLengthString(12);
    }
    return path;
}

std::string controlFrom(FuzzedDataProvider& input) {
    if (input.ConsumeBool()) return input.ConsumeRandomLengthString(200);
    static const char* const kNames[] = {"com.example.fuzz", "com.example.other", "a", "../x", "Com.Upper"};
    std::string control = "Package: " + std::string(kNames[input.ConsumeIntegralInRange<std::size_t>(0, 4)]) +
                          "\nVersion: " + input.ConsumeRandomLengthString(8) + "\nArchitecture: iphoneos-arm\n";
    if (input.ConsumeBool()) control += "Description: " + input.ConsumeRandomLengthString(40) + "\n";
    return control;
}

std::string packageFrom(FuzzedDataProvider& input) {
    const std::string control = controlFrom(input);
    std::vector<TarEntry> entries;
    const int count = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        static const char kTypes[] = {'0', '0', '0', '5', '2', '1', '6', '3'};
        TarEntry entry{pathFrom(input), kTypes[input.ConsumeIntegralInRange<std::size_t>(0, 7)], {}, {}};
        if (entry.type == '2' || entry.type == '1') {
            // Targets stay relative: an absolute one would aim the extraction at the machine itself, which the
            // sandbox could not see.
            static const char* const kTargets[] = {"../../outside", "../../../outside", "../outside/sentinel",
                                                   "Library", "."};
            entry.link = input.ConsumeBool() ? std::string(kTargets[input.ConsumeIntegralInRange<std::size_t>(0, 4)])
                                             : pathFrom(input);
            while (entry.link.starts_with('/')) entry.link.erase(0, 1);
        }
        if (entry.type == '0') entry.data = input.ConsumeRandomLengthString(64);
        entries.push_back(std::move(entry));
    }
    std::vector<std::pair<std::string, std::string>> members = {
        {input.ConsumeBool() ? "debian-binary" : "debian-binary/", input.ConsumeBool() ? "2.0\n" : "3.1\n"},
        {"control.tar", tarArchive({{"./", '5', {}, {}}, {"./control", '0', {}, control}})},
        {"data.tar", tarArchive(entries)},
    };
    std::string deb = arArchive(members);
    if (input.ConsumeBool()) deb.resize(input.ConsumeIntegralInRange<std::size_t>(0, deb.size()));
    return deb;
}

// Every entry below `top` with what it is: a file's bytes, "/" for a folder, "-> target" for a link.
Tree snapshot(const fs::path& top) {
    Tree tree;
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(top, ec))) return tree;
    for (auto it = fs::recursive_directory_iterator(top, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string key = it->path().lexically_relative(top).generic_string();
        const auto status = it->symlink_status();
        if (fs::is_symlink(status)) {
            tree[key] = "-> " + fs::read_symlink(it->path(), ec).string();
        } else if (fs::is_directory(status)) {
            tree[key] = "/";
        } else {
            std::ifstream in(it->path(), std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            tree[key] = bytes.str();
        }
    }
    return tree;
}

// The sandbox: a root with an earlier package's files, records and a link out of it, beside the "machine".
struct Sandbox {
    fs::path top;
    fs::path root() const { return top / "root"; }
    fs::path outside() const { return top / "outside"; }

    // Made afresh for every input: in memory (tmpfs) when the machine has it, as on a disk file system freeing the
    // inodes of each input's files costs more than the install itself.
    Sandbox() {
        std::string name = std::string(fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") + "/deb-fuzz-XXXXXX";
        top = ::mkdtemp(name.data());
    }
    ~Sandbox() {
        std::error_code ec;
        fs::remove_all(top, ec);
    }
    void reset() {
        std::error_code ec;
        fs::remove_all(root(), ec);
        fs::remove_all(outside(), ec);
        fs::create_directories(outside() / "folder");
        std::ofstream(outside() / "sentinel") << "the machine's own file";
        fs::create_directories(root() / "Library/folder");
        fs::create_directories(root() / "var/lib/dpkg/info");
        std::ofstream(root() / "Library/file") << "an earlier file";
        std::ofstream(root() / "var/lib/dpkg/status")
            << "Package: com.example.other\nStatus: install ok installed\nVersion: 1\n";
        std::ofstream(root() / "var/lib/dpkg/info/com.example.other.list") << "/.\n/Library\n/Library/file\n";
        fs::create_directory_symlink("../outside", root() / "escape");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Sandbox sandbox;
    FuzzedDataProvider input(data, size);
    sandbox.reset();
    const fs::path deb = sandbox.top / "package.deb";
    std::ofstream(deb, std::ios::binary | std::ios::trunc) << packageFrom(input);

    const Tree machine = snapshot(sandbox.outside());
    const Tree before = snapshot(sandbox.root());
    const sim::install::InstallResult result = sim::install::installPackage(deb, sandbox.root());

    fuzz::require(snapshot(sandbox.outside()) == machine, "an install changed a file outside the device root");
    for (const auto& entry : fs::directory_iterator(sandbox.top)) {
        const std::string name = entry.path().filename().string();
        fuzz::require(name == "root" || name == "outside" || name == "package.deb",
                      "an install left something beside the device root");
    }
    if (!result) {
        fuzz::require(snapshot(sandbox.root()) == before, "a refused package changed the device root");
        return 0;
    }
    const fs::path canonicalRoot = fs::canonical(sandbox.root());
    for (const std::string& path : result.installed) {
        const fs::path placed = sandbox.root() / fs::path(path).relative_path();
        fuzz::require(fs::exists(fs::symlink_status(placed)), "an installed file is not there");
        const fs::path folder = fs::canonical(placed.parent_path());
        const std::string rel = folder.lexically_relative(canonicalRoot).generic_string();
        fuzz::require(rel != ".." && !rel.starts_with("../"), "an installed file lies outside the device root");
    }
    fuzz::require(sim::install::installedFiles(sandbox.root(), result.package) == result.installed,
                  "the package's file list differs from what was installed");
    fuzz::require(sim::install::installedVersion(sandbox.root(), result.package) == result.version ||
                      result.version.empty(),
                  "the status file does not give the installed version");
    if (result.package != "com.example.other")
        fuzz::require(sim::install::installedVersion(sandbox.root(), "com.example.other") == "1",
                      "an install lost another package's record");
    return 0;
}
