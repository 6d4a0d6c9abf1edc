#pragma once

// Files of a test's own folder read and written whole, and a folder's whole tree as one comparable value, so that
// "the root is exactly as it was" is one comparison.

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace testing_support {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Makes the folders on the way.
inline void writeFile(const std::filesystem::path& path, const std::string& contents) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// Every entry below `root` by its device path ("/Library/x"): a file's bytes, "/" for a folder, "-> target" for a
// symbolic link (never followed). Empty when `root` does not exist.
inline std::map<std::string, std::string> snapshotTree(const std::filesystem::path& root) {
    std::map<std::string, std::string> tree;
    if (!std::filesystem::exists(root)) return tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string key = "/" + entry.path().lexically_relative(root).generic_string();
        tree[key] = entry.is_symlink()     ? "-> " + std::filesystem::read_symlink(entry.path()).string()
                    : entry.is_directory() ? "/"
                                           : readFile(entry.path());
    }
    return tree;
}

}  // namespace testing_support
