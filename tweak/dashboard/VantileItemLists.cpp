#include "tweak/dashboard/VantileItemLists.h"

#include "common/Keys.h"
#include "platform/core/HBPreferences.h"
#include "tweak/cards/VantileCatalogue.h"

namespace {
std::unique_ptr<VantileItemLists>& processLists() {
    static std::unique_ptr<VantileItemLists> lists;
    return lists;
}

Ref<HBPreferences> freshPreferences() {
    auto preferences = alloc<HBPreferences>();
    preferences->initWithIdentifier(vantile::kDomain);
    return preferences;
}

Value titlesOf(const VantileItemLists::List& list) {
    Value::Array titles;
    titles.reserve(list.size());
    for (const auto& item : list) titles.emplace_back(item->header());
    return Value(std::move(titles));
}
}  // namespace

VantileItemLists::VantileItemLists(std::function<void()> reloadEditorTable)
    : m_reloadEditorTable(std::move(reloadEditorTable)) {}

VantileItemLists& VantileItemLists::create(std::function<void()> reloadEditorTable) {
    processLists() = std::make_unique<VantileItemLists>(std::move(reloadEditorTable));
    return *processLists();
}

VantileItemLists* VantileItemLists::current() { return processLists().get(); }

void VantileItemLists::destroy() { processLists().reset(); }

VantileItemLists::List VantileItemLists::getEnabledVantiles() {
    return current() ? current()->m_enabledItems : List{};
}

VantileItemLists::List VantileItemLists::getDisabledVantiles() {
    return current() ? current()->m_disabledItems : List{};
}

std::int32_t VantileItemLists::takeIndex(std::int32_t& counter) {
    std::int32_t index = counter;
    // A 32-bit counter, as on the device; wrapping is defined here rather than left to signed overflow.
    counter = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter) + 1u);
    return index;
}

Ref<VantileItems> VantileItemLists::makeEnabledItem(std::string header) {
    return alloc<VantileItems>()->initWithHeaderEnabledIndex(std::move(header), true, takeIndex(m_nextEnabledIndex));
}

Ref<VantileItems> VantileItemLists::makeDisabledItem(std::string header) {
    return alloc<VantileItems>()->initWithHeaderIndex(std::move(header), takeIndex(m_nextDisabledIndex));
}

void VantileItemLists::loadVantiles() {
    auto preferences = freshPreferences();
    bool readTitle = false;

    // objectForKey answers a value, not a reference into the store: keep it while its array is walked.
    const Value selected = preferences->objectForKey(vantile::key::vantileEnabledArray);
    if (const Value::Array* stored = selected.asArray()) {
        for (const Value& entry : *stored)
            if (const std::string* title = entry.asString()) {
                m_enabledItems.push_back(makeEnabledItem(*title));
                readTitle = true;
            }
    }
    const Value available = preferences->objectForKey(vantile::key::vantileDisabledArray);
    if (const Value::Array* stored = available.asArray()) {
        for (const Value& entry : *stored)
            if (const std::string* title = entry.asString()) {
                m_disabledItems.push_back(makeDisabledItem(*title));
                readTitle = true;
            }
    }
    if (readTitle) return;

    // Nothing stored yet (or both lists empty): every card available, none selected, and that state written so the
    // grid and the next editor see it.
    for (const auto& entry : vantile::catalogue()) m_disabledItems.push_back(makeDisabledItem(std::string(entry.title)));
    saveToConfig();
    if (m_reloadEditorTable) m_reloadEditorTable();
}

void VantileItemLists::saveToConfig() const {
    auto preferences = freshPreferences();
    Value selected = titlesOf(m_enabledItems);
    Value available = titlesOf(m_disabledItems);
    preferences->setObjectForKey(std::move(selected), vantile::key::vantileEnabledArray);
    preferences->setObjectForKey(std::move(available), vantile::key::vantileDisabledArray);
}
