#pragma once

// URLs as the add-on builds them: Settings addresses ("prefs:root=WIFI"), web pages and file URLs of device paths.
//
// Validity rule of URLWithString (the one of the device's older releases, which do not repair texts): the text
// must be non-empty and made only of the characters RFC 3986 allows in a URI reference — ASCII letters, digits,
// "-._~", the delimiters ":/?#[]@!$&'()*+,;=" and "%" followed by two hexadecimal digits. Anything else (a space,
// a non-ASCII character, one of "\"<>\\^`{|}", a bare "%") makes the text invalid. A text that starts with a
// scheme must have a well-formed one (a letter, then letters, digits, "+", "-" or "."), so ":x" is invalid.

#include "platform/core/Object.h"

#include <optional>
#include <string>
#include <string_view>

class NSURL : public NSObject {
    VT_OBJECT(NSURL, NSObject)
public:
    // Null when the text breaks the rule above.
    static Ref<NSURL> URLWithString(std::string_view text);
    // A "file://" URL of an absolute device path, percent-encoding what the rule above does not allow (a space
    // becomes "%20"). A relative path is taken from "/". Never null.
    static Ref<NSURL> fileURLWithPath(std::string_view path);

    // The text exactly as given (for URLWithString) or as built (for fileURLWithPath).
    const std::string& absoluteString() const { return m_text; }
    // The scheme without ":" ("prefs", "https", "file"); nothing for a relative reference.
    std::optional<std::string> scheme() const;
    // The percent-decoded path: for "file:///a%20b" it is "/a b"; for "prefs:root=X" it is empty, since the text
    // after the scheme is no hierarchical path.
    std::string path() const;
    bool isFileURL() const;
    std::string description() const override { return m_text; }

    // True when `text` meets the validity rule.
    static bool isValidURLText(std::string_view text);

private:
    std::string m_text;
};
