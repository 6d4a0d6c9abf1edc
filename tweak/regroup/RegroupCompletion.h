#pragma once

// What happens each time the host has loaded the installed applications' entries of the Settings root list: the
// regrouping pass (the first time only), then the refresh of the Apple list's moved applications and of the
// installed list, and the root controller's new list.
//
// One instance serves the process (regrouping()); its three lists are the ones the sub-pages show, shared by
// reference, so a sub-page already on screen sees every refresh. Tests make their own instances.

#include "tweak/regroup/RootListRegrouping.h"

class NSMutableDictionary;

namespace vantile::regroup {

class RegroupCompletion {
public:
    RegroupCompletion() = default;
    RegroupCompletion(const RegroupCompletion&) = delete;
    RegroupCompletion& operator=(const RegroupCompletion&) = delete;

    // The completion step for `controller` (the root list controller, reached only through "specifiers",
    // "setSpecifiers:" and its instance variable "_movedThirdPartySpecifiers"), with the host's installed entries
    // and moved Apple applications (either may be null, read as empty). The pass runs on the first call only.
    void complete(NSObject& controller, const Ref<NSMutableArray>& installed, const Ref<NSMutableDictionary>& moved,
                  const LinkRowFactory& makeLink);

    // Forgets the pass, its flags and its lists, as a new process starts without them (tests, simulated restarts).
    // Sub-pages already showing the old lists keep them.
    void reset() {
        m_regrouped = false;
        m_flags = {};
        m_lists = {};
    }

    bool hasRegrouped() const { return m_regrouped; }
    const RegroupFlags& flags() const { return m_flags; }
    // The lists the pass formed; all null before it ran.
    const RegroupedLists& lists() const { return m_lists; }

private:
    bool m_regrouped = false;
    RegroupFlags m_flags;
    RegroupedLists m_lists;
};

// The process's regrouping, whose lists the three sub-page controllers show.
RegroupCompletion& regrouping();

// Apple applications that the host also lists among the installed ones; the Apple list drops its own entry of
// them, since the moved entry the host hands over replaces it.
inline constexpr std::string_view kReplacedAppleApps[] = {"com.apple.news", "com.apple.iBooks", "com.apple.podcasts",
                                                          "com.apple.itunesu"};

}  // namespace vantile::regroup
