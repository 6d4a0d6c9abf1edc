#pragma once

// A library's filter plist, as the code-injection loader reads it:
//
//   { Filter = { Bundles = ("com.apple.Preferences", ...); Executables = ("Preferences", ...);
//                Classes = ("PSUIPrefsListController", ...); Mode = "Any"; }; }
//
// Each list names what admits the process: a bundle identifier of the process, its executable's name, a class the
// process contains. When several lists are given, each of them must admit the process, unless Mode is "Any", when
// one suffices. A filter with no list at all admits nothing.

#include "platform/core/Value.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sim::install {

struct ProcessIdentity {
    // Nothing for a process that is no application bundle (a daemon, a command-line tool).
    std::optional<std::string> bundleIdentifier;
    std::string executableName;
};

struct LoaderFilter {
    std::optional<std::vector<std::string>> bundles;
    std::optional<std::vector<std::string>> executables;
    std::optional<std::vector<std::string>> classes;
    bool anyMode = false;

    // Whether the library goes into that process. `hasClass` answers whether the process contains a class by name;
    // without it a Classes list admits nothing.
    bool admits(const ProcessIdentity& process, const std::function<bool(const std::string&)>& hasClass = {}) const;
};

// The filter of a parsed filter plist; nothing when it has no "Filter" dictionary, or a list there holds anything
// but strings.
std::optional<LoaderFilter> loaderFilterFromPlist(const Value& plist);

}  // namespace sim::install
