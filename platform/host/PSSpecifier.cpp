#include "platform/host/PSSpecifier.h"

#include "platform/core/CFNotificationCenter.h"
#include "platform/core/CFPreferences.h"
#include "platform/core/Runtime.h"

#include <array>
#include <utility>

VT_REGISTER_CLASS_IN(PSSpecifier, "Preferences")

std::optional<long> PSSpecifier::cellTypeFromString(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, long>, 15> kNames{{
        {"PSGroupCell", PSGroupCell},
        {"PSLinkCell", PSLinkCell},
        {"PSLinkListCell", PSLinkListCell},
        {"PSListItemCell", PSListItemCell},
        {"PSTitleValueCell", PSTitleValueCell},
        {"PSSliderCell", PSSliderCell},
        {"PSSwitchCell", PSSwitchCell},
        {"PSStaticTextCell", PSStaticTextCell},
        {"PSEditTextCell", PSEditTextCell},
        {"PSSegmentCell", PSSegmentCell},
        {"PSGiantIconCell", PSGiantIconCell},
        {"PSGiantCell", PSGiantCell},
        {"PSSecureEditTextCell", PSSecureEditTextCell},
        {"PSButtonCell", PSButtonCell},
        {"PSEditTextViewCell", PSEditTextViewCell},
    }};
    for (const auto& [text, type] : kNames)
        if (text == name) return type;
    return std::nullopt;
}

Ref<PSSpecifier> PSSpecifier::preferenceSpecifierNamedTargetSetGetDetailCellEdit(std::string name, const id& target,
                                                                                  SEL set, SEL get, Class detail,
                                                                                  long cell, Class edit) {
    auto specifier = alloc<PSSpecifier>();
    specifier->m_name = std::move(name);
    specifier->m_target = target;
    specifier->m_setter = set;
    specifier->m_getter = get;
    specifier->m_detail = detail;
    specifier->m_cellType = cell;
    specifier->m_edit = edit;
    return specifier;
}

Ref<PSSpecifier> PSSpecifier::groupSpecifierWithName(std::string name) {
    return preferenceSpecifierNamedTargetSetGetDetailCellEdit(std::move(name), nullptr, nullptr, nullptr, nullptr,
                                                              PSGroupCell, nullptr);
}

std::optional<Property> PSSpecifier::propertyForKey(std::string_view key) const {
    auto it = m_properties.find(key);
    if (it == m_properties.end()) return std::nullopt;
    return it->second;
}

void PSSpecifier::setPropertyForKey(Property property, std::string_view key) {
    m_properties.insert_or_assign(std::string(key), std::move(property));
}

void PSSpecifier::removePropertyForKey(std::string_view key) {
    auto it = m_properties.find(key);
    if (it != m_properties.end()) m_properties.erase(it);
}

std::optional<std::string> PSSpecifier::stringProperty(std::string_view key) const {
    auto it = m_properties.find(key);
    if (it == m_properties.end() || !it->second.value()) return std::nullopt;
    if (const std::string* text = it->second.value()->asString()) return *text;
    return std::nullopt;
}

Value PSSpecifier::readPreferenceValue(const PSSpecifier& specifier) {
    const auto key = specifier.stringProperty("key");
    const auto domain = specifier.stringProperty("defaults");
    if (key && domain) {
        Value stored = CFPreferencesCopyAppValue(*key, *domain);
        if (!stored.isNone()) return stored;
    }
    if (auto fallback = specifier.propertyForKey("default"); fallback && fallback->value()) return *fallback->value();
    return Value();
}

void PSSpecifier::writePreferenceValue(const PSSpecifier& specifier, const Value& value) {
    const auto key = specifier.stringProperty("key");
    const auto domain = specifier.stringProperty("defaults");
    if (key && domain) CFPreferencesSetAppValue(*key, value, *domain);
    // Posted even without a key: some rows only announce the change and let the observer read what it needs.
    if (auto name = specifier.stringProperty("PostNotification"); name && !name->empty()) notify_post(name->c_str());
}

Value PSSpecifier::performGetter() {
    id target = m_target.lock();
    if (target && m_getter && target->respondsToSelector(m_getter))
        return platform::msgSend<Value>(target, m_getter, self<PSSpecifier>());
    return readPreferenceValue(*this);
}

void PSSpecifier::performSetterWithValue(Value value) {
    id target = m_target.lock();
    if (target && m_setter && target->respondsToSelector(m_setter)) {
        platform::msgSend<void>(target, m_setter, std::move(value), self<PSSpecifier>());
        return;
    }
    writePreferenceValue(*this, value);
}

std::string PSSpecifier::description() const {
    std::string text = "<PSSpecifier ";
    text += isGroup() ? "group" : "row";
    if (m_identifier) text += " id=" + *m_identifier;
    if (!m_name.empty()) text += " \"" + m_name + "\"";
    return text + ">";
}

bool PSSpecifier::boolProperty(std::string_view key) const {
    if (auto p = propertyForKey(key); p && p->value())
        if (auto n = p->value()->numberValue()) return *n != 0;
    return false;
}
