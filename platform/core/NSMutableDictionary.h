#pragma once

// A mutable map from string keys to objects, as the Settings framework hands out for moved application entries
// (`_movedThirdPartySpecifiers`, the second argument of the third-party loading completion).

#include "platform/core/Object.h"

#include <map>
#include <string>
#include <string_view>

class NSMutableArray;

class NSMutableDictionary : public NSObject {
    VT_OBJECT(NSMutableDictionary, NSObject)
public:
    static Ref<NSMutableDictionary> dictionary();

    std::size_t count() const { return m_entries.size(); }
    // Null when the key is absent.
    id objectForKey(std::string_view key) const;
    // Setting a null object is misuse and throws std::invalid_argument; remove the key instead.
    void setObjectForKey(id object, std::string_view key);
    void removeObjectForKey(std::string_view key);
    void removeAllObjects() { m_entries.clear(); }
    // Replaces the entries by those of `other` (the values themselves are shared).
    void setDictionary(const NSMutableDictionary& other) { m_entries = other.m_entries; }
    // The values in key order, as a new list (the values themselves are shared).
    Ref<NSMutableArray> allValues() const;

    const std::map<std::string, id, std::less<>>& entries() const { return m_entries; }

private:
    std::map<std::string, id, std::less<>> m_entries;
};
