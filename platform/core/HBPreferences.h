#pragma once

// A preferences object for one domain, as the add-on creates them: `auto p = alloc<HBPreferences>();
// p->initWithIdentifier("com.Zorvanic.VantilePrefs");` (or HBPreferences::preferencesForIdentifier(...)).
//
// Registered defaults belong to the object, live in memory only and are never written. They are what bound
// variables and boolForKey / integerForKey fall back to; objectForKey and dictionaryRepresentation answer stored
// values only (None when absent), because the add-on's readers apply fallbacks of their own.
//
// Bound variables (registerBoolDefaultForKey & co.) hold, from the call's return on, the stored value read by the
// rules below, or the default when nothing usable is stored. They follow later changes: at once after a write in
// this process through any preferences object, CFPreferences, NSUserDefaults or the dictionary-file helpers; and
// after a change written by another process at the start of the next turn of the main run loop (or when
// platform::checkPreferenceChanges() runs). A variable must live at least as long as the object that binds it (the
// add-on binds process-wide variables); once the object is destroyed its variables keep their last value and are
// never written again.
//
// Stored values of another type than the binding's are normal input and follow fixed rules:
// - boolean binding: a boolean as is; an integer or real: non-zero is YES; a string as NSString boolValue reads
//   it: after leading white space, YES when it starts with Y, y, T or t, or with an optional + or -, any zeros and
//   then a digit 1-9, otherwise NO; anything else (data, date, array, dictionary) gives the default.
// - integer binding: an integer as is; a boolean as 0 / 1; a real truncated toward zero (clamped to the range of
//   long, NaN as 0); a string as NSString integerValue reads it: after leading white space an optional sign and
//   the decimal digits that follow (none gives 0; too many digits clamp to the range); anything else the default.
// - object binding: whatever is stored, of any type; the default when nothing is.
// A domain name that is refused (see PreferenceDomain.h) gives an object that reads nothing and writes nothing.

#include "platform/core/Object.h"
#include "platform/core/PreferenceDomain.h"
#include "platform/core/Value.h"

#include <string>
#include <string_view>
#include <vector>

class HBPreferences : public NSObject {
    VT_OBJECT(HBPreferences, NSObject)
public:
    HBPreferences() = default;
    ~HBPreferences() override;

    void initWithIdentifier(std::string_view identifier);
    static Ref<HBPreferences> preferencesForIdentifier(std::string_view identifier);

    const std::string& identifier() const { return m_identifier; }

    // Binds `variable` (which must outlive this object or be unbound by destroying it first).
    void registerBoolDefaultForKey(bool* variable, bool defaultValue, std::string_view key);
    void registerIntegerDefaultForKey(long* variable, long defaultValue, std::string_view key);
    void registerObjectDefaultForKey(Value* variable, Value defaultValue, std::string_view key);
    // Registers defaults without binding anything; later registrations of a key replace earlier ones.
    void registerDefaults(const Value::Dictionary& defaults);

    // The stored value; None when the key is absent (registered defaults are not answered here).
    Value objectForKey(std::string_view key) const;
    // The stored value read by the boolean / integer rules above, else the registered default, else NO / 0.
    bool boolForKey(std::string_view key) const;
    long integerForKey(std::string_view key) const;
    // Stored values only.
    Value::Dictionary dictionaryRepresentation() const;

    // Writes one key; a None value removes it. Failures are silent here and counted by the store.
    void setObjectForKey(Value value, std::string_view key);
    void setBoolForKey(bool value, std::string_view key);
    void setIntegerForKey(long value, std::string_view key);
    void removeObjectForKey(std::string_view key);

    // The rules of the header comment, for a value read from the domain (None meaning absent).
    static bool boolFromValue(const Value& value, bool fallback);
    static long integerFromValue(const Value& value, long fallback);

private:
    struct Binding {
        enum class Kind { Bool, Integer, Object } kind;
        std::string key;
        void* variable;
    };
    void bind(Binding binding);
    void apply(const Binding& binding, const Value::Dictionary& stored) const;
    void reloadBindings();
    Value registeredDefault(std::string_view key) const;

    std::string m_identifier;
    std::shared_ptr<platform::PreferenceDomain> m_domain;
    platform::PreferenceDomain::ObserverToken m_observer = 0;
    Value::Dictionary m_defaults;
    std::vector<Binding> m_bindings;
};
