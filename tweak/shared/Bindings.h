#pragma once

// The preferences object of one source file of the tweak and the process-wide variables that file binds to keys of
// the domain. Each file keeps its own, as the device's add-on does; every binding is also listed process-wide, so
// the simulator can show what start-up bound and whether all variables of one key agree.

#include "platform/core/HBPreferences.h"
#include "platform/core/Value.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vantile {

class FilePreferences {
public:
    // `owner` names the source file in the binding list ("WifiCell", "RootPage").
    explicit FilePreferences(std::string_view owner);
    FilePreferences(const FilePreferences&) = delete;
    FilePreferences& operator=(const FilePreferences&) = delete;

    // Creates the file's preferences object for the domain. The bind calls need it; it lives for the process.
    void open();
    bool isOpen() const { return m_preferences != nullptr; }

    // From the call's return on the variable holds the stored value, or `fallback` when the domain has none, and
    // follows later changes of the domain. Calling before open() is a logic error.
    void bindBool(bool* variable, bool fallback, std::string_view key);
    void bindInteger(long* variable, long fallback, std::string_view key);
    void bindObject(Value* variable, Value fallback, std::string_view key);

    const Ref<HBPreferences>& preferences() const { return m_preferences; }

private:
    std::string m_owner;
    Ref<HBPreferences> m_preferences;
};

struct Binding {
    std::string owner;
    std::string key;
    std::variant<const bool*, const long*, const Value*> variable;
    // The value the variable holds now.
    Value current() const;
};

// Every binding made in this process, in the order they were made.
const std::vector<Binding>& bindings();

}  // namespace vantile
