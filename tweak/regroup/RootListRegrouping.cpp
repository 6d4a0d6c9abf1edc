#include "tweak/regroup/RootListRegrouping.h"

#include "platform/core/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantile::regroup {

std::string_view identifierOf(const id& entry) {
    auto specifier = cast<PSSpecifier>(entry);
    if (!specifier || !specifier->identifier()) return {};
    return *specifier->identifier();
}

bool isGroupHeader(const id& entry) {
    auto specifier = cast<PSSpecifier>(entry);
    return specifier && specifier->isGroup();
}

namespace {

constexpr std::string_view kStoreKey = "STORE";
constexpr std::string_view kTweaksKey = "TWEAKS";
constexpr std::string_view kAppsKey = "APPS";

bool isAppleGroupHeader(std::string_view identifier) {
    return std::find(std::begin(kAppleGroupHeaders), std::end(kAppleGroupHeaders), identifier) !=
           std::end(kAppleGroupHeaders);
}

// The walk over the root list as it stood when the pass began. Entries are only collected here; nothing leaves the
// root list until the walk is over, so "the entry before" always means the entry before in the host's order.
class GroupWalk {
public:
    explicit GroupWalk(RegroupFlags& flags) : m_flags(flags) {}

    void walk(const std::vector<id>& entries) {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const id& entry = entries[i];
            if (isGroupHeader(entry)) header(entry);
            else row(entries, i);
        }
        // The tail after the last counted group belongs to the installed applications, which the host appends
        // under a header of their own; a list of the expected shape has just reached that group already.
        const int expected = m_flags.developerSeen ? 5 : 4;
        if (m_groupCount != expected) {
            list(kAppsKey);
            m_current = std::string(kAppsKey);
            ++m_groupCount;
        }
    }

    Ref<NSMutableArray> take(std::string_view key) {
        auto it = m_groups.find(key);
        return it == m_groups.end() ? nullptr : it->second;
    }

private:
    void row(const std::vector<id>& entries, std::size_t i) {
        const std::string_view identifier = identifierOf(entries[i]);
        if (identifier == kDeveloperIdentifier) {
            // The previous step put the Developer group's header into the current group; taking it back and
            // leaving the row alone keeps the whole Developer group on the root page.
            if (auto current = currentList()) current->removeLastObject();
            m_flags.developerSeen = true;
            return;
        }
        if (identifier == kStoreIdentifier) {
            auto store = NSMutableArray::array();
            if (i > 0) store->addObject(entries[i - 1]);
            store->addObject(entries[i]);
            m_groups.insert_or_assign(std::string(kStoreKey), store);
            m_current = std::string(kStoreKey);
            return;
        }
        if (auto current = currentList()) current->addObject(entries[i]);
    }

    void header(const id& entry) {
        if (!m_current) return;
        if (identifierOf(entry) == kTvProviderIdentifier) m_flags.tvProviderSeen = true;
        // The first groups after the App Store row are Apple's; the Developer and TV-provider groups, when the
        // device has them, come among those and push the tweak group one further.
        const int threshold = 2 + (m_flags.developerSeen ? 1 : 0) + (m_flags.tvProviderSeen ? 1 : 0);
        const std::string_view key = m_groupCount < threshold    ? kStoreKey
                                     : m_groupCount == threshold ? kTweaksKey
                                                                 : kAppsKey;
        list(key)->addObject(entry);
        m_current = std::string(key);
        ++m_groupCount;
    }

    Ref<NSMutableArray> list(std::string_view key) {
        auto it = m_groups.find(key);
        if (it == m_groups.end()) it = m_groups.emplace(std::string(key), NSMutableArray::array()).first;
        return it->second;
    }

    Ref<NSMutableArray> currentList() { return m_current ? take(*m_current) : nullptr; }

    RegroupFlags& m_flags;
    std::map<std::string, Ref<NSMutableArray>, std::less<>> m_groups;
    std::optional<std::string> m_current;
    int m_groupCount = 0;
};

}  // namespace

RegroupedLists regroupRootList(NSMutableArray& root, RegroupFlags& flags, const LinkRowFactory& makeLink) {
    GroupWalk walk(flags);
    walk.walk(root.objects());
    RegroupedLists lists{walk.take(kTweaksKey), walk.take(kStoreKey), walk.take(kAppsKey)};

    std::vector<Ref<PSSpecifier>> links;
    auto addLink = [&](LinkKind kind) {
        if (auto link = makeLink ? makeLink(kind) : nullptr) links.push_back(std::move(link));
    };

    if (auto& tweaks = lists.tweaks) {
        // PreferenceLoader's group can arrive as an empty header followed by the real one; one header is enough.
        if (tweaks->count() >= 2 && isGroupHeader(tweaks->objectAtIndex(0)) && isGroupHeader(tweaks->objectAtIndex(1)))
            tweaks->removeObjectAtIndex(0);
        root.removeObjectsInArray(*tweaks);
        addLink(LinkKind::Tweaks);
    }
    if (auto& apple = lists.apple) {
        // The Apple group headers stay in the Apple list, so the sub-page keeps its sections; on the root page
        // they go wherever they stand, also outside the Apple list.
        for (const id& entry : apple->objects())
            if (!isAppleGroupHeader(identifierOf(entry))) root.removeObject(entry);
        addLink(LinkKind::AppleApps);
        std::vector<id> headers;
        for (const id& entry : root.objects())
            if (isAppleGroupHeader(identifierOf(entry))) headers.push_back(entry);
        for (const id& entry : headers) root.removeObject(entry);
    }
    if (auto& installed = lists.installed) {
        root.removeObjectsInArray(*installed);
        addLink(LinkKind::InstalledApps);
    }

    // Index 2 is right after the account group's first rows; a root list too short for it (the device would raise
    // and take Settings down) gets the links at its end instead.
    std::size_t at = std::min<std::size_t>(2, root.count());
    root.insertObjectAtIndex(PSSpecifier::groupSpecifierWithName(""), at++);
    for (auto& link : links) root.insertObjectAtIndex(link, at++);
    return lists;
}

}  // namespace vantile::regroup
