#pragma once

// A property-list value: what the preference domain, plist files and .strings tables hold. Types survive a round
// trip through a file, so a reader can tell a stored boolean from a stored number or string.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

struct PlistDate {
    double secondsSince1970 = 0;
    friend bool operator==(const PlistDate&, const PlistDate&) = default;
};

class Value {
public:
    using Array = std::vector<Value>;
    using Dictionary = std::map<std::string, Value, std::less<>>;
    using Data = std::vector<std::uint8_t>;
    enum class Type { None, Boolean, Integer, Real, String, Data, Date, Array, Dictionary };

    Value() = default;
    Value(bool b) : m_v(b) {}
    Value(int i) : m_v(static_cast<std::int64_t>(i)) {}
    Value(long i) : m_v(static_cast<std::int64_t>(i)) {}
    Value(long long i) : m_v(static_cast<std::int64_t>(i)) {}
    Value(double d) : m_v(d) {}
    Value(const char* s) : m_v(std::string(s)) {}
    Value(std::string s) : m_v(std::move(s)) {}
    Value(std::string_view s) : m_v(std::string(s)) {}
    Value(Data d) : m_v(std::move(d)) {}
    Value(PlistDate d) : m_v(d) {}
    Value(Array a) : m_v(std::move(a)) {}
    Value(Dictionary d) : m_v(std::move(d)) {}

    Type type() const { return static_cast<Type>(m_v.index()); }
    bool isNone() const { return type() == Type::None; }
    bool isBoolean() const { return type() == Type::Boolean; }
    bool isInteger() const { return type() == Type::Integer; }
    bool isReal() const { return type() == Type::Real; }
    bool isNumber() const { return isBoolean() || isInteger() || isReal(); }
    bool isString() const { return type() == Type::String; }
    bool isData() const { return type() == Type::Data; }
    bool isDate() const { return type() == Type::Date; }
    bool isArray() const { return type() == Type::Array; }
    bool isDictionary() const { return type() == Type::Dictionary; }

    // Typed views: nothing when the value is of another type (no conversion).
    std::optional<bool> asBoolean() const { return get<bool>(); }
    std::optional<std::int64_t> asInteger() const { return get<std::int64_t>(); }
    std::optional<double> asReal() const { return get<double>(); }
    const std::string* asString() const { return std::get_if<std::string>(&m_v); }
    const Data* asData() const { return std::get_if<Data>(&m_v); }
    const Array* asArray() const { return std::get_if<Array>(&m_v); }
    const Dictionary* asDictionary() const { return std::get_if<Dictionary>(&m_v); }
    Array* asArray() { return std::get_if<Array>(&m_v); }
    Dictionary* asDictionary() { return std::get_if<Dictionary>(&m_v); }
    std::optional<PlistDate> asDate() const { return get<PlistDate>(); }

    // Numeric reading the way NSNumber answers boolValue / doubleValue; nothing for non-numbers.
    std::optional<double> numberValue() const {
        if (auto b = asBoolean()) return *b ? 1.0 : 0.0;
        if (auto i = asInteger()) return static_cast<double>(*i);
        return asReal();
    }

    // Member of a dictionary value; nullptr when absent or when this is no dictionary.
    const Value* find(std::string_view key) const {
        auto* d = asDictionary();
        if (!d) return nullptr;
        auto it = d->find(key);
        return it == d->end() ? nullptr : &it->second;
    }

    friend bool operator==(const Value&, const Value&) = default;

private:
    template <class T>
    std::optional<T> get() const {
        if (auto* p = std::get_if<T>(&m_v)) return *p;
        return std::nullopt;
    }
    std::variant<std::monostate, bool, std::int64_t, double, std::string, Data, PlistDate, Array, Dictionary> m_v;
};
