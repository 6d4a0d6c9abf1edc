#pragma once

// One entry of a specifier's property dictionary. Specifiers carry both property-list values ("key", "defaults",
// "PostNotification", "label") and objects that are no property-list value at all ("iconImage" is an image), so an
// entry holds either a Value or an object reference.

#include "platform/core/Object.h"
#include "platform/core/Value.h"

#include <concepts>
#include <type_traits>
#include <utility>
#include <variant>

class Property {
public:
    // Any value a Value can be built from ("text", true, 3, a Value::Array ...).
    template <class T>
        requires std::constructible_from<Value, T> && (!std::is_convertible_v<T, id>)
    Property(T&& value) : m_v(Value(std::forward<T>(value))) {}
    // Any object, including a null reference (which reads as an absent object, never as a value).
    template <class T>
        requires std::derived_from<T, NSObject>
    Property(Ref<T> object) : m_v(id(std::move(object))) {}

    bool isValue() const { return std::holds_alternative<Value>(m_v); }
    bool isObject() const { return std::holds_alternative<id>(m_v); }

    // The held value; nullptr when the entry holds an object.
    const Value* value() const { return std::get_if<Value>(&m_v); }
    // The held object as T; null when the entry holds a value, a null object or an object of another class.
    template <class T = NSObject>
    Ref<T> object() const {
        if (auto* o = std::get_if<id>(&m_v)) return std::dynamic_pointer_cast<T>(*o);
        return nullptr;
    }

    // Values compare by content, objects by identity.
    friend bool operator==(const Property&, const Property&) = default;

private:
    std::variant<Value, id> m_v;
};
