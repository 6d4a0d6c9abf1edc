#pragma once

// A small streaming JSON writer for the view dump: objects, arrays, strings (escaped as RFC 8259 asks), numbers,
// booleans and null, indented two spaces per level so that dumps diff well. Misuse (a value where a key is due, an
// unbalanced end) throws std::logic_error: a malformed dump is a fault of our own code.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Appends `text` as a JSON string literal, quotes included; UTF-8 passes through unchanged.
void appendJSONString(std::string& out, std::string_view text);

class JSONWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    // An array written on one line ("[0, 0, 375, 667]"), for short lists of numbers; it holds scalars only.
    void beginInlineArray();
    void endArray();
    // The key of the next value inside an object.
    void key(std::string_view name);
    void value(std::string_view text);
    void value(const char* text) { value(std::string_view(text)); }
    void value(double number);
    void value(long number);
    void value(int number) { value(static_cast<long>(number)); }
    void value(bool flag);
    void null();

    // Shorthands for key + value.
    template <class T>
    void field(std::string_view name, const T& v) {
        key(name);
        value(v);
    }

    // The document; throws std::logic_error while an object or array is still open.
    std::string str() const;

private:
    enum class Frame { Object, Array, InlineArray };
    void beforeValue();
    void newline();
    std::string m_out;
    std::vector<Frame> m_stack;
    std::vector<bool> m_first;
    bool m_keyPending = false;
    bool m_done = false;
};
