#include "tests/tweak/regroup/RegroupFixture.h"

#include <sstream>

namespace vantile::testing {

RootListShape::RootListShape(const std::vector<std::string>& tokens) {
    for (const std::string& token : tokens) {
        Ref<PSSpecifier> entry;
        std::string name = token;
        if (token.front() == '#') {
            const auto eq = token.find('=');
            entry = PSSpecifier::groupSpecifierWithName("");
            if (eq != std::string::npos) {
                entry->setIdentifier(token.substr(eq + 1));
                name = token.substr(0, eq);
            }
        } else {
            entry = PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(token, nullptr, nullptr, nullptr,
                                                                                    nullptr, PSSpecifier::PSLinkCell,
                                                                                    nullptr);
            entry->setIdentifier(token);
        }
        m_entries.push_back(entry);
        m_byName.emplace(name, entry);
        m_names.emplace(entry.get(), name);
    }
}

Ref<NSMutableArray> RootListShape::list() const {
    auto list = NSMutableArray::array();
    for (const auto& entry : m_entries) list->addObject(entry);
    return list;
}

std::vector<std::string> RootListShape::tokens(const Ref<NSMutableArray>& list) const {
    if (!list) return {"null"};
    std::vector<std::string> out;
    for (const id& object : *list) {
        auto known = m_names.find(object.get());
        if (known != m_names.end()) out.push_back(known->second);
        else if (auto s = cast<PSSpecifier>(object); s && s->isGroup()) out.push_back("+#");
        else out.push_back(s ? s->name() : "?");
    }
    return out;
}

regroup::LinkRowFactory namedLinkRows() {
    return [](regroup::LinkKind kind) {
        auto row = [](std::string name) {
            return PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(
                std::move(name), nullptr, nullptr, nullptr, nullptr, PSSpecifier::PSLinkCell, nullptr);
        };
        switch (kind) {
        case regroup::LinkKind::Tweaks: return row("link:tweaks");
        case regroup::LinkKind::AppleApps: {
            auto r = row("link:apple");
            r->setIdentifier(std::string(regroup::kAppleLinkIdentifier));
            return r;
        }
        case regroup::LinkKind::InstalledApps: {
            auto r = row("link:installed");
            r->setIdentifier(std::string(regroup::kInstalledLinkIdentifier));
            return r;
        }
        }
        return Ref<PSSpecifier>();
    };
}

std::vector<std::string> split(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string token; in >> token;) out.push_back(token);
    return out;
}

}  // namespace vantile::testing
