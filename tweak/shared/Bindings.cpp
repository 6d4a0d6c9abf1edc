#include "tweak/shared/Bindings.h"

#include "common/Keys.h"

#include <stdexcept>

namespace vantile {
namespace {

std::vector<Binding>& bindingList() {
    static std::vector<Binding> list;
    return list;
}

}  // namespace

FilePreferences::FilePreferences(std::string_view owner) : m_owner(owner) {}

void FilePreferences::open() {
    if (m_preferences) return;
    m_preferences = alloc<HBPreferences>();
    m_preferences->initWithIdentifier(kDomain);
}

void FilePreferences::bindBool(bool* variable, bool fallback, std::string_view key) {
    if (!m_preferences) throw std::logic_error(m_owner + " binds " + std::string(key) + " before opening");
    m_preferences->registerBoolDefaultForKey(variable, fallback, key);
    bindingList().push_back({m_owner, std::string(key), variable});
}

void FilePreferences::bindInteger(long* variable, long fallback, std::string_view key) {
    if (!m_preferences) throw std::logic_error(m_owner + " binds " + std::string(key) + " before opening");
    m_preferences->registerIntegerDefaultForKey(variable, fallback, key);
    bindingList().push_back({m_owner, std::string(key), variable});
}

void FilePreferences::bindObject(Value* variable, Value fallback, std::string_view key) {
    if (!m_preferences) throw std::logic_error(m_owner + " binds " + std::string(key) + " before opening");
    m_preferences->registerObjectDefaultForKey(variable, std::move(fallback), key);
    bindingList().push_back({m_owner, std::string(key), variable});
}

Value Binding::current() const {
    return std::visit([](auto* p) { return Value(*p); }, variable);
}

const std::vector<Binding>& bindings() { return bindingList(); }

}  // namespace vantile
