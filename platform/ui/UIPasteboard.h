#pragma once

// The general pasteboard, in memory for the life of the process.

#include "platform/core/Object.h"

#include <optional>
#include <string>

class UIPasteboard : public NSObject {
    VT_OBJECT(UIPasteboard, NSObject)
public:
    static Ref<UIPasteboard> generalPasteboard();

    // Nothing when no string was ever put on the pasteboard (or it was cleared).
    std::optional<std::string> string() const { return m_string; }
    void setString(std::optional<std::string> text) {
        m_string = std::move(text);
        ++m_changes;
    }
    bool hasStrings() const { return m_string.has_value(); }
    // Counts every write, so a test can tell "copied the same text again" from "did not copy".
    long changeCount() const { return m_changes; }

private:
    std::optional<std::string> m_string;
    long m_changes = 0;
};
