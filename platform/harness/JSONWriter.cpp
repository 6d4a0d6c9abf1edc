#include "platform/harness/JSONWriter.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

void JSONWriter::newline() {
    m_out += '\n';
    m_out.append(m_stack.size() * 2, ' ');
}

void JSONWriter::beforeValue() {
    if (m_stack.empty()) {
        if (m_done) throw std::logic_error("JSONWriter: a second top-level value");
        m_done = true;
        return;
    }
    if (m_stack.back() == Frame::Object) {
        if (!m_keyPending) throw std::logic_error("JSONWriter: a value inside an object needs a key");
        m_keyPending = false;
        return;
    }
    if (m_stack.back() == Frame::InlineArray) {
        if (!m_first.back()) m_out += ", ";
        m_first.back() = false;
        return;
    }
    if (!m_first.back()) m_out += ',';
    m_first.back() = false;
    newline();
}

void JSONWriter::beginInlineArray() {
    if (!m_stack.empty() && m_stack.back() == Frame::InlineArray)
        throw std::logic_error("JSONWriter: an inline array holds scalars only");
    beforeValue();
    m_out += '[';
    m_stack.push_back(Frame::InlineArray);
    m_first.push_back(true);
}

void JSONWriter::beginObject() {
    if (!m_stack.empty() && m_stack.back() == Frame::InlineArray)
        throw std::logic_error("JSONWriter: an inline array holds scalars only");
    beforeValue();
    m_out += '{';
    m_stack.push_back(Frame::Object);
    m_first.push_back(true);
}

void JSONWriter::endObject() {
    if (m_stack.empty() || m_stack.back() != Frame::Object || m_keyPending)
        throw std::logic_error("JSONWriter: endObject without an open object");
    const bool empty = m_first.back();
    m_stack.pop_back();
    m_first.pop_back();
    if (!empty) newline();
    m_out += '}';
}

void JSONWriter::beginArray() {
    if (!m_stack.empty() && m_stack.back() == Frame::InlineArray)
        throw std::logic_error("JSONWriter: an inline array holds scalars only");
    beforeValue();
    m_out += '[';
    m_stack.push_back(Frame::Array);
    m_first.push_back(true);
}

void JSONWriter::endArray() {
    if (m_stack.empty() || m_stack.back() == Frame::Object)
        throw std::logic_error("JSONWriter: endArray without an open array");
    const bool empty = m_first.back();
    const bool inlined = m_stack.back() == Frame::InlineArray;
    m_stack.pop_back();
    m_first.pop_back();
    if (!empty && !inlined) newline();
    m_out += ']';
}

void appendJSONString(std::string& out, std::string_view text) {
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);  // UTF-8 passes through
                }
        }
    }
    out += '"';
}

void JSONWriter::key(std::string_view name) {
    if (m_stack.empty() || m_stack.back() != Frame::Object || m_keyPending)
        throw std::logic_error("JSONWriter: a key outside an object or after another key");
    if (!m_first.back()) m_out += ',';
    m_first.back() = false;
    newline();
    appendJSONString(m_out, name);
    m_out += ": ";
    m_keyPending = true;
}

void JSONWriter::value(std::string_view text) {
    beforeValue();
    appendJSONString(m_out, text);
}

void JSONWriter::value(double number) {
    beforeValue();
    if (!std::isfinite(number)) {
        m_out += "null";  // JSON has no infinities; a dump must stay parseable
        return;
    }
    // Up to four decimals, trailing zeros dropped: stable across machines and readable (0.11, 187.5, 1).
    double rounded = std::round(number * 10000) / 10000;
    if (rounded == 0) rounded = 0;  // no "-0"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", rounded);
    std::string s(buf);
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    m_out += s;
}

void JSONWriter::value(long number) {
    beforeValue();
    m_out += std::to_string(number);
}

void JSONWriter::value(bool flag) {
    beforeValue();
    m_out += flag ? "true" : "false";
}

void JSONWriter::null() {
    beforeValue();
    m_out += "null";
}

std::string JSONWriter::str() const {
    if (!m_stack.empty()) throw std::logic_error("JSONWriter: document still open");
    return m_out;
}
