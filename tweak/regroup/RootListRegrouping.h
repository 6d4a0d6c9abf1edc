#pragma once

// The regrouping of the Settings root list: moves the tail of Apple's application groups, the tweak group and the
// installed applications off the root list into three lists of their own, and puts link rows to them near the top.
//
// The pass is a pure transformation of an ordered list of entries: it touches nothing but the list it is given,
// the flags and the lists it answers, and the link rows come from a factory the caller passes, so it runs without
// the host. The completion step around it (RegroupCompletion) is what talks to the root controller.

#include "platform/core/Object.h"

#include <functional>
#include <string_view>

class NSMutableArray;
class PSSpecifier;

namespace vantile::regroup {

// Identifiers of the host's root list that the pass relies on.
inline constexpr std::string_view kStoreIdentifier = "STORE";
inline constexpr std::string_view kDeveloperIdentifier = "DEVELOPER_SETTINGS";
inline constexpr std::string_view kTvProviderIdentifier = "VIDEO_SUBSCRIBER_GROUP";
// Group headers that are taken off the root list wherever they stand, and stay in the Apple list when in it.
inline constexpr std::string_view kAppleGroupHeaders[] = {"MEDIA_GROUP", "ACCOUNTS_GROUP", "APPLE_ACCOUNT_GROUP"};
// Identifiers of the link rows the pass inserts (the tweak link has none).
inline constexpr std::string_view kAppleLinkIdentifier = "APPLE_APPS";
inline constexpr std::string_view kInstalledLinkIdentifier = "THIRD_PARTY_APPS";

// Seen while walking; the device's add-on keeps them for the process and never resets them.
struct RegroupFlags {
    bool developerSeen = false;
    bool tvProviderSeen = false;
};

enum class LinkKind { Tweaks, AppleApps, InstalledApps };

// Makes the link row to one of the three lists. It may answer null, which leaves that link out.
using LinkRowFactory = std::function<Ref<PSSpecifier>(LinkKind)>;

// The three lists the pass forms; each is null when the root list had no group for it.
struct RegroupedLists {
    Ref<NSMutableArray> tweaks;     // shown by TweakSpecifiersController
    Ref<NSMutableArray> apple;      // shown by AppleAppSpecifiersController
    Ref<NSMutableArray> installed;  // shown by AppStoreAppSpecifiersController
};

// The identifier of an entry, the empty string when it has none or is no specifier at all.
std::string_view identifierOf(const id& entry);
// True for a group header (cell type 0); false for rows and for objects that are no specifier.
bool isGroupHeader(const id& entry);

// Runs the pass over `root` (the root list's copy, changed in place): forms the three lists, takes their entries
// off `root` (removal is by identity: the same entry objects, wherever they stand), and inserts a new empty group
// header at index 2 followed by the link rows of the lists that exist, in the order tweaks, Apple, installed.
// A root list shorter than two entries gets the header at its end.
RegroupedLists regroupRootList(NSMutableArray& root, RegroupFlags& flags, const LinkRowFactory& makeLink);

}  // namespace vantile::regroup
