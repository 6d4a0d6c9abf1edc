// Reading Debian packages in-process: the member layout the package manager accepts, every compression dpkg-deb
// builds, and the entries of a hostile data tarball, judged before anything reaches the device root.
#include "sim/install/DebArchive.h"
#include "sim/install/PackageInstaller.h"
#include "tests/sim/SimProcess.h"
#include "tests/support/FileTree.h"
#include "tests/support/ProgramRun.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace sim::install;
using testing_support::readFile;
using testing_support::runProgram;
using testing_support::snapshotTree;
using testing_support::writeFile;

namespace {

struct Entry {
    std::string name;
    char kind;          // 'f' file, 'd' folder, 'l' symbolic link, 'h' hard link, 'p' pipe, 'c' character device
    std::string text;   // a file's bytes, a link's target
    int perm = 0644;
};

la_ssize_t appendTo(archive*, void* out, const void* buffer, size_t length) {
    static_cast<std::string*>(out)->append(static_cast<const char*>(buffer), length);
    return static_cast<la_ssize_t>(length);
}

// A tarball written with libarchive's writer, which stores names and link targets exactly as given, so that it
// can hold what tar and dpkg-deb refuse to pack. `zeros` adds one file of that many zero bytes.
std::string tarball(const std::vector<Entry>& entries, const std::string& compression = "none",
                    std::int64_t zeros = 0) {
    std::string out;
    archive* tar = archive_write_new();
    archive_write_set_format_pax_restricted(tar);
    if (compression == "gzip") archive_write_add_filter_gzip(tar);
    if (compression == "xz") archive_write_add_filter_xz(tar);
    if (compression == "zstd") archive_write_add_filter_zstd(tar);
    archive_write_set_bytes_in_last_block(tar, 1);
    EXPECT_EQ(archive_write_open(tar, &out, nullptr, appendTo, nullptr), ARCHIVE_OK) << archive_error_string(tar);
    auto add = [&](const Entry& e, std::int64_t size) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.name.c_str());
        archive_entry_set_perm(entry, e.kind == 'd' ? 0755 : e.perm);
        const std::map<char, mode_t> types = {{'f', AE_IFREG}, {'d', AE_IFDIR}, {'l', AE_IFLNK},
                                              {'h', AE_IFREG}, {'p', AE_IFIFO}, {'c', AE_IFCHR}};
        archive_entry_set_filetype(entry, types.at(e.kind));
        if (e.kind == 'l') archive_entry_set_symlink(entry, e.text.c_str());
        if (e.kind == 'h') archive_entry_set_hardlink(entry, e.text.c_str());
        archive_entry_set_size(entry, size);
        EXPECT_EQ(archive_write_header(tar, entry), ARCHIVE_OK) << archive_error_string(tar);
        archive_entry_free(entry);
    };
    for (const Entry& e : entries) {
        add(e, e.kind == 'f' ? static_cast<std::int64_t>(e.text.size()) : 0);
        if (e.kind == 'f') archive_write_data(tar, e.text.data(), e.text.size());
    }
    if (zeros) {
        add({"./Library/zeros.bin", 'f', {}}, zeros);
        const std::string block(1 << 20, '\0');
        for (std::int64_t left = zeros; left > 0; left -= static_cast<std::int64_t>(block.size()))
            archive_write_data(tar, block.data(), static_cast<std::size_t>(std::min<std::int64_t>(left, block.size())));
    }
    archive_write_close(tar);
    archive_write_free(tar);
    return out;
}

std::string controlTarball(const std::string& entryName = "./control") {
    return tarball({{"./", 'd', {}},
                    {entryName, 'f', "Package: com.test.deb\nVersion: 1\nArchitecture: iphoneos-arm\n"}},
                   "gzip");
}

// An "ar" archive laid out by hand as dpkg-deb lays it out: names padded with blanks, members padded to even size.
std::string arArchive(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string ar = "!<arch>\n";
    for (const auto& [name, data] : members) {
        char header[61];
        std::snprintf(header, sizeof header, "%-16s%-12s%-6s%-6s%-8s%-10zu`\n", name.c_str(), "0", "0", "0", "100644",
                      data.size());
        ar += std::string(header, 60) + data;
        if (data.size() % 2) ar += '\n';
    }
    return ar;
}

class DebArchiveTest : public ::testing::Test {
protected:
    fs::path writeDeb(const std::string& name, const std::vector<std::pair<std::string, std::string>>& members) {
        const fs::path deb = m_work.path() / (name + ".deb");
        writeFile(deb, arArchive(members));
        return deb;
    }
    // The usual three members around a data tarball of `entries`.
    fs::path dataDeb(const std::string& name, const std::vector<Entry>& entries,
                     const std::string& compression = "gzip") {
        return writeDeb(name, {{"debian-binary", "2.0\n"}, {"control.tar.gz", controlTarball()},
                               {compression == "gzip" ? "data.tar.gz" : "data.tar", tarball(entries, compression)}});
    }
    fs::path root() const { return m_work.path() / "device"; }
    fs::path outside() const { return m_work.path() / "host"; }

    simtest::TempDeviceRoot m_work;
};

TEST_F(DebArchiveTest, EveryCompressionDpkgDebBuildsInstalls) {
    const fs::path stage = m_work.path() / "stage";
    writeFile(stage / "DEBIAN/control", "Package: com.test.deb\nVersion: 1\nArchitecture: iphoneos-arm\n"
                                        "Maintainer: Test <t@example.com>\nDescription: test package\n");
    writeFile(stage / "usr/bin/tool", "#!/bin/sh\n");
    fs::permissions(stage / "usr/bin/tool", fs::perms(04755));
    writeFile(stage / "usr/lib/libfoo.1.dylib", "library");
    fs::create_symlink("libfoo.1.dylib", stage / "usr/lib/libfoo.dylib");
    const std::pair<std::string, std::string> variants[] = {{"gzip", "gz"}, {"xz", "xz"}, {"zstd", "zst"}, {"none", ""}};
    for (const auto& [compression, suffix] : variants) {
        const fs::path deb = m_work.path() / ("built-" + compression + ".deb");
        const auto built = runProgram({"dpkg-deb", "--root-owner-group", "-Z" + compression, "--build", stage.string(),
                                       deb.string()});
        ASSERT_TRUE(built.succeeded()) << built.err;
        const std::string members = runProgram({"ar", "t", deb.string()}).out;
        ASSERT_NE(members.find(suffix.empty() ? "data.tar\n" : "data.tar." + suffix + "\n"), std::string::npos)
            << members;

        fs::remove_all(root());
        const auto result = installPackage(deb, root());
        ASSERT_TRUE(result) << compression << ": " << *result.error;
        EXPECT_EQ(result.installed,
                  (std::vector<std::string>{"/usr/bin/tool", "/usr/lib/libfoo.1.dylib", "/usr/lib/libfoo.dylib"}));
        EXPECT_EQ(readFile(root() / "usr/lib/libfoo.1.dylib"), "library") << compression;
        EXPECT_EQ(fs::read_symlink(root() / "usr/lib/libfoo.dylib"), "libfoo.1.dylib") << compression;
        // Executable, but never set-user-ID in the device root.
        struct stat st {};
        ASSERT_EQ(::stat((root() / "usr/bin/tool").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0755u) << compression;
        ASSERT_EQ(::stat((root() / "usr/lib/libfoo.1.dylib").c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0644u) << compression;
    }
}

TEST_F(DebArchiveTest, MembersMustComeInTheOrderThePackageManagerReadsThem) {
    const std::string control = controlTarball();
    const std::string data = tarball({{"./Library/file", 'f', "x"}});
    const std::string dataXz = tarball({{"./Library/file", 'f', "x"}}, "xz");
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> members;
        const char* refusal;  // nullptr: installs
    } cases[] = {
        {"plain", {{"debian-binary", "2.0\n"}, {"control.tar.gz", control}, {"data.tar", data}}, nullptr},
        {"underscore members skipped, trailing ones ignored",
         {{"debian-binary", "2.0\n"}, {"_gpgorigin", "sig"}, {"control.tar.gz", control}, {"_x", ""},
          {"data.tar.xz", dataXz}, {"extra", "anything"}},
         nullptr},
        {"a later minor format", {{"debian-binary", "2.9\nmore\n"}, {"control.tar.gz", control}, {"data.tar", data}},
         nullptr},
        {"bare control entry",
         {{"debian-binary", "2.0\n"},
          {"control.tar.gz", controlTarball("control")},
          {"data.tar", data}},
         nullptr},
        {"debian-binary not first", {{"control.tar.gz", control}, {"debian-binary", "2.0\n"}, {"data.tar", data}},
         "where debian-binary belongs"},
        {"underscore before debian-binary", {{"_x", ""}, {"debian-binary", "2.0\n"}, {"control.tar.gz", control},
                                             {"data.tar", data}}, "where debian-binary belongs"},
        {"format 3", {{"debian-binary", "3.0\n"}, {"control.tar.gz", control}, {"data.tar", data}}, "format \"3.0\""},
        {"data before control", {{"debian-binary", "2.0\n"}, {"data.tar", data}, {"control.tar.gz", control}},
         "\"data.tar\" where control.tar belongs"},
        {"unknown compression", {{"debian-binary", "2.0\n"}, {"control.tar.gz", control}, {"data.tar.rar", data}},
         "\"data.tar.rar\" where data.tar belongs"},
        {"no data", {{"debian-binary", "2.0\n"}, {"control.tar.gz", control}}, "has no data.tar member"},
        {"no control file",
         {{"debian-binary", "2.0\n"}, {"control.tar", tarball({{"./postinst", 'f', "x"}})}, {"data.tar", data}},
         "has no control file"},
        {"compressed data cut short",
         {{"debian-binary", "2.0\n"}, {"control.tar.gz", control},
          {"data.tar.xz", tarball({{"./Library/a", 'f', std::string(50000, 'a')}, {"./Library/b", 'f', "b"}}, "xz")
                              .substr(0, 60)}},
         "is damaged"},
        {"data that is no tarball", {{"debian-binary", "2.0\n"}, {"control.tar.gz", control}, {"data.tar", "no tar"}},
         "is damaged"},
    };
    for (const auto& c : cases) {
        fs::remove_all(root());
        const fs::path deb = writeDeb("order", c.members);
        const auto result = installPackage(deb, root());
        if (!c.refusal) {
            ASSERT_TRUE(result) << c.what << ": " << *result.error;
            EXPECT_EQ(readFile(root() / "Library/file"), "x") << c.what;
            continue;
        }
        ASSERT_FALSE(result) << c.what;
        EXPECT_NE(result.error->find(c.refusal), std::string::npos) << c.what << ": " << *result.error;
        EXPECT_NE(result.error->find(deb.string()), std::string::npos) << c.what << ": " << *result.error;
        EXPECT_FALSE(fs::exists(root())) << c.what;
    }
}

TEST_F(DebArchiveTest, HardLinksJoinOnlyAnEarlierFileOfThePackage) {
    const auto result = installPackage(
        dataDeb("linked", {{"./Library/a.txt", 'f', "shared"}, {"./Library/sub/b.txt", 'h', "./Library/a.txt"}}),
        root());
    ASSERT_TRUE(result) << *result.error;
    EXPECT_EQ(result.installed, (std::vector<std::string>{"/Library/a.txt", "/Library/sub/b.txt"}));
    EXPECT_TRUE(fs::equivalent(root() / "Library/a.txt", root() / "Library/sub/b.txt"));
    EXPECT_EQ(readFile(root() / "Library/sub/b.txt"), "shared");

    writeFile(outside() / "secret", "the host's file");
    const struct {
        const char* what;
        std::vector<Entry> entries;
    } refused[] = {
        {"a host file", {{"./Library/a.txt", 'f', "x"}, {"./Library/b", 'h', outside().string() + "/secret"}}},
        {"a later file", {{"./Library/b", 'h', "./Library/a.txt"}, {"./Library/a.txt", 'f', "x"}}},
        {"a folder", {{"./Library/", 'd', {}}, {"./Library/b", 'h', "./Library"}}},
        {"a symbolic link", {{"./Library/l", 'l', outside().string() + "/secret"}, {"./Library/b", 'h', "Library/l"}}},
        {"itself", {{"./Library/a.txt", 'f', "x"}, {"./Library/a.txt", 'h', "./Library/a.txt"}}},
    };
    for (const auto& c : refused) {
        fs::remove_all(root());
        const auto r = installPackage(dataDeb("badlink", c.entries), root());
        ASSERT_FALSE(r) << c.what;
        EXPECT_NE(r.error->find("hard link"), std::string::npos) << c.what << ": " << *r.error;
        EXPECT_FALSE(fs::exists(root())) << c.what;
    }
    EXPECT_EQ(readFile(outside() / "secret"), "the host's file");
    EXPECT_EQ(fs::hard_link_count(outside() / "secret"), 1u);
}

TEST_F(DebArchiveTest, EntriesThatWouldWriteElsewhereOrCollideAreRefused) {
    fs::create_directories(outside());
    const std::string host = outside().string();
    const struct {
        const char* what;
        std::vector<Entry> entries;
        const char* refusal;
    } cases[] = {
        {"a file through a link to the host", {{"./a", 'l', host}, {"./a/file", 'f', "x"}}, "which is a symbolic link"},
        {"a folder through a link to the host", {{"./a", 'l', host}, {"./a/dir/", 'd', {}}},
         "which is a symbolic link"},
        {"a link through a relative link", {{"./a", 'l', "../../host"}, {"./a/l", 'l', "x"}},
         "which is a symbolic link"},
        {"a file inside a file", {{"./a", 'f', "x"}, {"./a/b", 'f', "y"}}, "which is a file"},
        {"a climbing name", {{"./Library/../../host/file", 'f', "x"}}, "\"..\""},
        {"a name that is only ..", {{"..", 'd', {}}}, "\"..\""},
        {"a folder after a file", {{"./Library", 'f', "x"}, {"./Library/", 'd', {}}}, "as a folder after a file"},
        {"a file after a folder", {{"./Library/", 'd', {}}, {"./Library", 'f', "x"}}, "as a file after a folder"},
        {"a link after a folder", {{"./Library/x/", 'd', {}}, {"./Library/x", 'l', host}}, "as a file after a folder"},
        {"a pipe", {{"./Library/fifo", 'p', {}}}, "/Library/fifo, which is neither file, link nor folder"},
        {"a device", {{"./dev/null", 'c', {}}}, "/dev/null, which is neither file, link nor folder"},
        {"a file without a name", {{".", 'f', "x"}}, "without a name"},
        {"a line break", {{"./Library/a\nb", 'f', "x"}}, "holds a name with a line break (/Library/a?b)"},
    };
    for (const auto& c : cases) {
        fs::remove_all(root());
        writeFile(root() / "var/mobile/user.plist", "the user's own file");
        const auto before = snapshotTree(root());
        const fs::path deb = dataDeb("hostile", c.entries);
        const auto result = installPackage(deb, root());
        ASSERT_FALSE(result) << c.what;
        EXPECT_NE(result.error->find(c.refusal), std::string::npos) << c.what << ": " << *result.error;
        EXPECT_NE(result.error->find(deb.string()), std::string::npos) << c.what << ": " << *result.error;
        EXPECT_EQ(snapshotTree(root()), before) << c.what;
        EXPECT_TRUE(fs::is_empty(outside())) << c.what;
    }
}

TEST_F(DebArchiveTest, NamesAreTakenBelowTheRootAndALaterEntryReplacesAnEarlierOne) {
    const auto result = installPackage(dataDeb("names", {{"/abs/one", 'f', "1"},
                                                         {"./Library/./two", 'f', "old"},
                                                         {"Library//two", 'f', "new"},
                                                         {"./Library/link", 'l', "/abs/one"},
                                                         {"./Library/link", 'l', "two"},
                                                         {"./Library/swap", 'l', "two"},
                                                         {"./Library/swap", 'f', "a file now"}}),
                                       root());
    ASSERT_TRUE(result) << *result.error;
    EXPECT_EQ(result.installed,
              (std::vector<std::string>{"/Library/link", "/Library/swap", "/Library/two", "/abs/one"}));
    EXPECT_EQ(readFile(root() / "abs/one"), "1");
    EXPECT_EQ(readFile(root() / "Library/two"), "new");
    EXPECT_EQ(fs::read_symlink(root() / "Library/link"), "two");
    EXPECT_FALSE(fs::is_symlink(root() / "Library/swap"));
    EXPECT_EQ(readFile(root() / "Library/swap"), "a file now");
}

TEST_F(DebArchiveTest, WhatAPackageUnpacksIsBounded) {
    const fs::path staging = m_work.path() / "staging";
    auto unpack = [&](const std::vector<Entry>& entries, DebLimits limits) -> std::string {
        fs::remove_all(staging);
        fs::create_directories(staging);
        std::string why;
        const auto archive = DebArchive::open(dataDeb("bounded", entries), why, limits);
        if (!archive) return why;
        const auto tree = archive->unpackInto(staging, why);
        return tree ? "" : why;
    };
    const std::string kb6(600, 'x'), kb4(400, 'y');
    // The sum counts, not each file: two files under the cap each, over it together.
    EXPECT_EQ(unpack({{"./a", 'f', kb6}, {"./b", 'f', kb4}}, {1000, 10}), "");
    const std::string over = unpack({{"./a", 'f', kb6}, {"./b", 'f', kb6}}, {1000, 10});
    EXPECT_NE(over.find("unpacks to more than 1000 bytes"), std::string::npos) << over;
    // Refused at the header, before its data is written.
    EXPECT_FALSE(fs::exists(staging / "b"));
    EXPECT_EQ(unpack({{"./a", 'f', "1"}, {"./b", 'f', "2"}, {"./c", 'f', "3"}}, {1000, 3}), "");
    const std::string many = unpack({{"./a", 'f', "1"}, {"./b", 'f', "2"}, {"./c", 'f', "3"}, {"./d", 'f', "4"}},
                                    {1000, 3});
    EXPECT_NE(many.find("more than 3 entries"), std::string::npos) << many;

    // An outer member larger than the cap is not even read into memory.
    std::string why;
    EXPECT_FALSE(DebArchive::open(dataDeb("large", {{"./a", 'f', std::string(100, 'z')}}, "none"), why, {1000, 10}));
    EXPECT_NE(why.find("holds a data.tar of more than 1000 bytes"), std::string::npos) << why;
}

TEST_F(DebArchiveTest, ATinyCompressedBombIsRefusedAtTheDefaultCap) {
    const std::string bomb = tarball({{"./Library/", 'd', {}}}, "zstd", 300ll << 20);
    ASSERT_LT(bomb.size(), 1u << 20);
    const fs::path deb = writeDeb("bomb", {{"debian-binary", "2.0\n"}, {"control.tar.gz", controlTarball()},
                                           {"data.tar.zst", bomb}});
    fs::create_directories(root());
    const auto result = installPackage(deb, root());
    ASSERT_FALSE(result);
    EXPECT_NE(result.error->find("unpacks to more than 256 MiB"), std::string::npos) << *result.error;
    EXPECT_TRUE(fs::is_empty(root()));
}

}  // namespace
