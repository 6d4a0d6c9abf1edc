#pragma once

// Root lists written as short token lists, for the regrouping tests. A token is a header "#name" (no identifier),
// "#name=IDENTIFIER", or a row "name" whose identifier is its name. Lists read back as the same tokens; an entry
// the list did not start with reads as "+#" for a header and as its name for a row (the link rows).

#include "platform/core/NSMutableArray.h"
#include "platform/host/PSSpecifier.h"
#include "tweak/regroup/RootListRegrouping.h"

#include <map>
#include <string>
#include <vector>

namespace vantile::testing {

class RootListShape {
public:
    explicit RootListShape(const std::vector<std::string>& tokens);

    // A new list of the shape's entries (the same objects each time).
    Ref<NSMutableArray> list() const;
    // The entry of a token name ("Wallet", "#acc").
    const Ref<PSSpecifier>& entry(const std::string& name) const { return m_byName.at(name); }
    // The tokens of a list; "null" for no list.
    std::vector<std::string> tokens(const Ref<NSMutableArray>& list) const;

private:
    std::vector<Ref<PSSpecifier>> m_entries;
    std::map<std::string, Ref<PSSpecifier>> m_byName;
    std::map<const NSObject*, std::string> m_names;
};

// Link rows named "link:tweaks", "link:apple", "link:installed", with the identifiers of the real ones.
regroup::LinkRowFactory namedLinkRows();

std::vector<std::string> split(const std::string& text);

}  // namespace vantile::testing
