// The two deliverables meet only through the preference domain: neither may need the other at load.
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// The DT_NEEDED names of a 64-bit ELF shared object, read from its SHT_DYNAMIC section and the string table that
// section links to. Nothing when the file is not such an object.
std::optional<std::vector<std::string>> neededLibraries(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof(Elf64_Ehdr) || std::memcmp(bytes.data(), ELFMAG, SELFMAG) != 0 ||
        bytes[EI_CLASS] != ELFCLASS64)
        return std::nullopt;
    Elf64_Ehdr header;
    std::memcpy(&header, bytes.data(), sizeof header);
    auto sectionAt = [&](std::size_t index) -> std::optional<Elf64_Shdr> {
        const std::size_t offset = header.e_shoff + index * header.e_shentsize;
        if (index >= header.e_shnum || offset + sizeof(Elf64_Shdr) > bytes.size()) return std::nullopt;
        Elf64_Shdr s;
        std::memcpy(&s, bytes.data() + offset, sizeof s);
        return s;
    };
    for (std::size_t i = 0; i < header.e_shnum; ++i) {
        auto dynamic = sectionAt(i);
        if (!dynamic || dynamic->sh_type != SHT_DYNAMIC) continue;
        auto strings = sectionAt(dynamic->sh_link);
        if (!strings || strings->sh_offset + strings->sh_size > bytes.size()) return std::nullopt;
        std::vector<std::string> needed;
        for (std::size_t off = dynamic->sh_offset; off + sizeof(Elf64_Dyn) <= dynamic->sh_offset + dynamic->sh_size;
             off += sizeof(Elf64_Dyn)) {
            Elf64_Dyn entry;
            std::memcpy(&entry, bytes.data() + off, sizeof entry);
            if (entry.d_tag == DT_NULL) break;
            if (entry.d_tag != DT_NEEDED || entry.d_un.d_val >= strings->sh_size) continue;
            needed.emplace_back(bytes.data() + strings->sh_offset + entry.d_un.d_val);
        }
        return needed;
    }
    return std::nullopt;
}

bool contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

TEST(Deliverables, NeitherLibraryNeedsTheOther) {
    const std::filesystem::path build(VANTILE_BUILD_DIR);
    const auto tweak = neededLibraries(build / "libVantile.so");
    const auto prefs = neededLibraries(build / "libVantilePrefs.so");
    ASSERT_TRUE(tweak) << "libVantile.so is no readable ELF object";
    ASSERT_TRUE(prefs) << "libVantilePrefs.so is no readable ELF object";
    // The tweak does need the stand-in frameworks and the C library, which shows the dynamic section was really
    // read (the preference bundle may need nothing at all while it is small).
    EXPECT_TRUE(contains(*tweak, "libplatform.so"));
    EXPECT_TRUE(contains(*tweak, "libc.so.6"));
    EXPECT_FALSE(contains(*tweak, "libVantilePrefs.so"));
    EXPECT_FALSE(contains(*prefs, "libVantile.so"));
}

TEST(Deliverables, ReaderRefusesWhatIsNoSharedObject) {
    const auto dir = std::filesystem::temp_directory_path() / ("vantile-elf-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    {
        std::ofstream(dir / "text.so") << "not an ELF file at all";
        std::ofstream truncated(dir / "truncated.so", std::ios::binary);
        truncated.write(ELFMAG, SELFMAG);
    }
    EXPECT_FALSE(neededLibraries(dir / "text.so"));
    EXPECT_FALSE(neededLibraries(dir / "truncated.so"));
    EXPECT_FALSE(neededLibraries(dir / "missing.so"));
    std::filesystem::remove_all(dir);
}

}  // namespace
