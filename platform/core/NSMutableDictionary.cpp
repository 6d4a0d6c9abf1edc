#include "platform/core/NSMutableDictionary.h"

#include "platform/core/NSMutableArray.h"
#include "platform/core/Runtime.h"

#include <stdexcept>

VT_REGISTER_CLASS(NSMutableDictionary)

Ref<NSMutableDictionary> NSMutableDictionary::dictionary() { return alloc<NSMutableDictionary>(); }

id NSMutableDictionary::objectForKey(std::string_view key) const {
    auto it = m_entries.find(key);
    return it == m_entries.end() ? nullptr : it->second;
}

void NSMutableDictionary::setObjectForKey(id object, std::string_view key) {
    if (!object)
        throw std::invalid_argument("NSMutableDictionary setObject:forKey: object cannot be nil (key " +
                                    std::string(key) + ")");
    m_entries.insert_or_assign(std::string(key), std::move(object));
}

void NSMutableDictionary::removeObjectForKey(std::string_view key) {
    auto it = m_entries.find(key);
    if (it != m_entries.end()) m_entries.erase(it);
}

Ref<NSMutableArray> NSMutableDictionary::allValues() const {
    auto values = NSMutableArray::array();
    for (const auto& [key, value] : m_entries) values->addObject(value);
    return values;
}
