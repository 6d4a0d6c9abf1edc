#include "platform/core/HBPreferences.h"

#include "platform/core/Runtime.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <stdexcept>

VT_REGISTER_CLASS(HBPreferences)

namespace {

std::string_view skipWhiteSpace(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    return s.substr(i);
}

bool stringBoolValue(std::string_view s) {
    s = skipWhiteSpace(s);
    if (s.empty()) return false;
    const char c = s.front();
    if (c == 'Y' || c == 'y' || c == 'T' || c == 't') return true;
    std::size_t i = (c == '+' || c == '-') ? 1 : 0;
    while (i < s.size() && s[i] == '0') ++i;
    return i < s.size() && s[i] >= '1' && s[i] <= '9';
}

long stringIntegerValue(std::string_view s) {
    s = skipWhiteSpace(s);
    bool negative = false;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    // Accumulated as a negative number, whose range holds LONG_MIN, then clamped as integerValue does.
    long value = 0;
    bool overflow = false;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        const int digit = s[i] - '0';
        if (value < (LONG_MIN + digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (overflow) return negative ? LONG_MIN : LONG_MAX;
    if (negative) return value;
    return value == LONG_MIN ? LONG_MAX : -value;
}

}  // namespace

bool HBPreferences::boolFromValue(const Value& value, bool fallback) {
    if (auto b = value.asBoolean()) return *b;
    if (auto i = value.asInteger()) return *i != 0;
    if (auto r = value.asReal()) return *r != 0.0;
    if (auto* s = value.asString()) return stringBoolValue(*s);
    return fallback;
}

long HBPreferences::integerFromValue(const Value& value, long fallback) {
    if (auto i = value.asInteger()) return static_cast<long>(*i);
    if (auto b = value.asBoolean()) return *b ? 1 : 0;
    if (auto r = value.asReal()) {
        if (std::isnan(*r)) return 0;
        if (*r >= static_cast<double>(LONG_MAX)) return LONG_MAX;
        if (*r <= static_cast<double>(LONG_MIN)) return LONG_MIN;
        return static_cast<long>(*r);
    }
    if (auto* s = value.asString()) return stringIntegerValue(*s);
    return fallback;
}

HBPreferences::~HBPreferences() {
    if (m_domain) m_domain->removeObserver(m_observer);
}

void HBPreferences::initWithIdentifier(std::string_view identifier) {
    if (m_domain) throw std::logic_error("HBPreferences initialised twice");
    m_identifier = std::string(identifier);
    m_domain = platform::PreferenceDomain::named(identifier);
    if (!m_domain) return;
    // Weak: the domain outlives every preferences object, and a notification racing with destruction must find
    // nothing to call rather than a dead object.
    Weak<HBPreferences> weak = weakSelf<HBPreferences>();
    m_observer = m_domain->addObserver([weak] {
        if (auto self = weak.lock()) self->reloadBindings();
    });
}

Ref<HBPreferences> HBPreferences::preferencesForIdentifier(std::string_view identifier) {
    auto p = alloc<HBPreferences>();
    p->initWithIdentifier(identifier);
    return p;
}

Value HBPreferences::registeredDefault(std::string_view key) const {
    auto it = m_defaults.find(key);
    return it == m_defaults.end() ? Value() : it->second;
}

void HBPreferences::apply(const Binding& binding, const Value::Dictionary& stored) const {
    auto it = stored.find(binding.key);
    const Value none;
    const Value& value = it == stored.end() ? none : it->second;
    const Value fallback = registeredDefault(binding.key);
    switch (binding.kind) {
    case Binding::Kind::Bool:
        *static_cast<bool*>(binding.variable) = boolFromValue(value, boolFromValue(fallback, false));
        break;
    case Binding::Kind::Integer:
        *static_cast<long*>(binding.variable) = integerFromValue(value, integerFromValue(fallback, 0));
        break;
    case Binding::Kind::Object:
        *static_cast<Value*>(binding.variable) = value.isNone() ? fallback : value;
        break;
    }
}

void HBPreferences::reloadBindings() {
    if (!m_domain || m_bindings.empty()) return;
    const auto stored = m_domain->snapshot();
    for (const auto& b : m_bindings) apply(b, *stored);
}

void HBPreferences::bind(Binding binding) {
    m_bindings.push_back(std::move(binding));
    // The variable reads the shared snapshot in place: the add-on binds dozens of keys at start-up, and a copy of the
    // domain for each would copy a large profile picture as many times.
    static const Value::Dictionary nothingStored;
    const auto stored = m_domain ? m_domain->snapshot() : nullptr;
    apply(m_bindings.back(), stored ? *stored : nothingStored);
}

void HBPreferences::registerBoolDefaultForKey(bool* variable, bool defaultValue, std::string_view key) {
    if (!variable) throw std::invalid_argument("registerBool:default:forKey: needs a variable");
    m_defaults.insert_or_assign(std::string(key), Value(defaultValue));
    bind({Binding::Kind::Bool, std::string(key), variable});
}

void HBPreferences::registerIntegerDefaultForKey(long* variable, long defaultValue, std::string_view key) {
    if (!variable) throw std::invalid_argument("registerInteger:default:forKey: needs a variable");
    m_defaults.insert_or_assign(std::string(key), Value(defaultValue));
    bind({Binding::Kind::Integer, std::string(key), variable});
}

void HBPreferences::registerObjectDefaultForKey(Value* variable, Value defaultValue, std::string_view key) {
    if (!variable) throw std::invalid_argument("registerObject:default:forKey: needs a variable");
    m_defaults.insert_or_assign(std::string(key), std::move(defaultValue));
    bind({Binding::Kind::Object, std::string(key), variable});
}

void HBPreferences::registerDefaults(const Value::Dictionary& defaults) {
    for (const auto& [key, value] : defaults) m_defaults.insert_or_assign(key, value);
    // A bound variable whose key is absent now falls back to the new default.
    reloadBindings();
}

Value HBPreferences::objectForKey(std::string_view key) const {
    return m_domain ? m_domain->value(key) : Value();
}

bool HBPreferences::boolForKey(std::string_view key) const {
    return boolFromValue(objectForKey(key), boolFromValue(registeredDefault(key), false));
}

long HBPreferences::integerForKey(std::string_view key) const {
    return integerFromValue(objectForKey(key), integerFromValue(registeredDefault(key), 0));
}

Value::Dictionary HBPreferences::dictionaryRepresentation() const {
    return m_domain ? *m_domain->snapshot() : Value::Dictionary{};
}

void HBPreferences::setObjectForKey(Value value, std::string_view key) {
    if (!m_domain) {
        platform::PreferenceDomain::named(m_identifier);  // counts the refused write
        return;
    }
    m_domain->write({{std::string(key), std::move(value)}});
}

void HBPreferences::setBoolForKey(bool value, std::string_view key) { setObjectForKey(Value(value), key); }

void HBPreferences::setIntegerForKey(long value, std::string_view key) { setObjectForKey(Value(value), key); }

void HBPreferences::removeObjectForKey(std::string_view key) { setObjectForKey(Value(), key); }
