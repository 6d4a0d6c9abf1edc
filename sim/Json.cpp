#include "sim/Json.h"

#include "platform/ui/JSONWriter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sim {
namespace {

void appendString(std::string& out, std::string_view s) { appendJSONString(out, s); }

void appendNumber(std::string& out, double d) {
    // JSON has no infinities or NaN; a report never needs them, so they become null rather than invalid text.
    if (!std::isfinite(d)) {
        out += "null";
        return;
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    // The shortest text that reads back as the same double keeps "40" as 40 and 0.1 as 0.1.
    for (int precision = 1; precision <= 17; ++precision) {
        char shorter[32];
        std::snprintf(shorter, sizeof shorter, "%.*g", precision, d);
        if (std::strtod(shorter, nullptr) == d) {
            out += shorter;
            return;
        }
    }
    out += buf;
}

std::string base64(const Value::Data& data) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < data.size(); i += 3) {
        const unsigned n = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
        for (int s = 18; s >= 0; s -= 6) out += kAlphabet[(n >> s) & 63];
    }
    if (i + 1 == data.size()) {
        const unsigned n = data[i] << 16;
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += "==";
    } else if (i + 2 == data.size()) {
        const unsigned n = (data[i] << 16) | (data[i + 1] << 8);
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += kAlphabet[(n >> 6) & 63];
        out += '=';
    }
    return out;
}

void write(std::string& out, const Value& v, int indent, int level) {
    auto newline = [&](int lvl) {
        if (indent <= 0) return;
        out += '\n';
        out.append(static_cast<std::size_t>(indent * lvl), ' ');
    };
    switch (v.type()) {
    case Value::Type::None: out += "null"; break;
    case Value::Type::Boolean: out += *v.asBoolean() ? "true" : "false"; break;
    case Value::Type::Integer: out += std::to_string(*v.asInteger()); break;
    case Value::Type::Real: appendNumber(out, *v.asReal()); break;
    case Value::Type::String: appendString(out, *v.asString()); break;
    case Value::Type::Data: appendString(out, base64(*v.asData())); break;
    case Value::Type::Date: appendNumber(out, v.asDate()->secondsSince1970); break;
    case Value::Type::Array: {
        const auto& a = *v.asArray();
        out += '[';
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (i) out += indent > 0 ? "," : ", ";
            newline(level + 1);
            write(out, a[i], indent, level + 1);
        }
        if (!a.empty()) newline(level);
        out += ']';
        break;
    }
    case Value::Type::Dictionary: {
        const auto& d = *v.asDictionary();
        out += '{';
        bool first = true;
        for (const auto& [key, member] : d) {
            if (!first) out += indent > 0 ? "," : ", ";
            first = false;
            newline(level + 1);
            appendString(out, key);
            out += ": ";
            write(out, member, indent, level + 1);
        }
        if (!d.empty()) newline(level);
        out += '}';
        break;
    }
    }
}

}  // namespace

std::string toJson(const Value& value, int indent) {
    std::string out;
    write(out, value, indent, 0);
    return out;
}

}  // namespace sim
