#pragma once

// An entry of a Settings list page: a group header or a row. The page shows one row (or header) per specifier, in
// the order of its list; regrouping and the add-on's own rows find entries by identifier and read their properties.
//
// Values. A row's value is read and written through its target's getter and setter, sent by name:
//   getter  Value (Ref<PSSpecifier>)          e.g. "readPreferenceValue:"
//   setter  void (Value, Ref<PSSpecifier>)    e.g. "setPreferenceValue:specifier:"
// PSListController publishes those two with the framework's meaning: the value of the preference key "key" in the
// domain "defaults", or the property "default" when the domain has none; writing stores it and then posts the
// Darwin notification named by "PostNotification", if any. A row without target or getter reads through that same
// rule directly, so a specifier is usable before its page exists.

#include "platform/core/Object.h"
#include "platform/host/Property.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

class PSSpecifier : public NSObject {
    VT_OBJECT(PSSpecifier, NSObject)
public:
    // The cell types of the Settings framework. 0 marks a group header; every other value is a row.
    enum CellType : long {
        PSGroupCell = 0,
        PSLinkCell = 1,
        PSLinkListCell = 2,
        PSListItemCell = 3,
        PSTitleValueCell = 4,
        PSSliderCell = 5,
        PSSwitchCell = 6,
        PSStaticTextCell = 7,
        PSEditTextCell = 8,
        PSSegmentCell = 9,
        PSGiantIconCell = 10,
        PSGiantCell = 11,
        PSSecureEditTextCell = 12,
        PSButtonCell = 13,
        PSEditTextViewCell = 14,
    };
    using Properties = std::map<std::string, Property, std::less<>>;

    // The cell type named by a plist string ("PSLinkCell", "PSGroupCell", ...); nothing for an unknown name, so a
    // misspelt type never silently turns a row into a group header.
    static std::optional<long> cellTypeFromString(std::string_view name);

    // A row as the framework builds one: name, target (held weakly), setter and getter selectors (null for none),
    // the class of the page a link opens (null for none), the cell type and the class of an edit pane (null).
    static Ref<PSSpecifier> preferenceSpecifierNamedTargetSetGetDetailCellEdit(std::string name, const id& target,
                                                                               SEL set, SEL get, Class detail,
                                                                               long cell, Class edit);
    // A group header with the given title (empty for none).
    static Ref<PSSpecifier> groupSpecifierWithName(std::string name);

    // The identifier; nothing when none was set. Link rows made by the add-on may have none.
    const std::optional<std::string>& identifier() const { return m_identifier; }
    void setIdentifier(std::string identifier) { m_identifier = std::move(identifier); }

    const std::string& name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }

    long cellType() const { return m_cellType; }
    void setCellType(long type) { m_cellType = type; }
    bool isGroup() const { return m_cellType == PSGroupCell; }

    // The target is weak, as on the device: a page that went away leaves its rows without a target (null).
    id target() const { return m_target.lock(); }
    void setTarget(const id& target) { m_target = target; }

    SEL setter() const { return m_setter; }
    SEL getter() const { return m_getter; }
    // The page class a link row opens; null when it opens none.
    Class detailControllerClass() const { return m_detail; }
    void setDetailControllerClass(Class detail) { m_detail = detail; }
    Class editPaneClass() const { return m_edit; }

    void setTarget(const id& target, SEL set, SEL get) {
        m_target = target;
        m_setter = set;
        m_getter = get;
    }

    // The row's current value (see above); None when the target has no such getter and the domain has no value
    // nor the specifier a "default".
    Value performGetter();
    // Hands `value` to the setter (see above). Without target or setter the value is stored directly.
    void performSetterWithValue(Value value);
    // The framework's own reading and writing of a specifier's preference, used by pages and rows without getter.
    static Value readPreferenceValue(const PSSpecifier& specifier);
    static void writePreferenceValue(const PSSpecifier& specifier, const Value& value);

    // The property's value as a string; nothing when absent or not a string.
    std::optional<std::string> stringProperty(std::string_view key) const;
    // Whether the property is a non-zero number (YES); false when absent or of another type.
    bool boolProperty(std::string_view key) const;

    const Properties& properties() const { return m_properties; }
    // The property of that key; nothing when the specifier has none.
    std::optional<Property> propertyForKey(std::string_view key) const;
    void setPropertyForKey(Property property, std::string_view key);
    void removePropertyForKey(std::string_view key);

    std::string description() const override;

private:
    std::optional<std::string> m_identifier;
    std::string m_name;
    long m_cellType = PSGroupCell;
    Weak<NSObject> m_target;
    SEL m_setter = nullptr;
    SEL m_getter = nullptr;
    Class m_detail = nullptr;
    Class m_edit = nullptr;
    Properties m_properties;
};
