#include "platform/core/StringFormat.h"

#include "platform/core/Runtime.h"

#include <cstdio>

namespace platform::format_detail {
namespace {

[[noreturn]] void fail(std::string_view format, const std::string& why) {
    throw RuntimeError("stringWithFormat(\"" + std::string(format) + "\"): " + why);
}

const Arg& take(std::string_view format, const std::vector<Arg>& args, std::size_t& next) {
    if (next >= args.size()) fail(format, "more conversions than arguments");
    return args[next++];
}

std::string render(const std::string& conversion, const Arg& arg, int star1, int star2, int stars) {
    char buffer[512];
    int n = 0;
    auto call = [&](auto value) {
        if (stars == 0) n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), value);
        else if (stars == 1) n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), star1, value);
        else n = std::snprintf(buffer, sizeof buffer, conversion.c_str(), star1, star2, value);
    };
    switch (arg.kind) {
    case ArgKind::Int32: call(static_cast<int>(arg.integer)); break;
    case ArgKind::Int64: call(static_cast<long long>(arg.integer)); break;
    case ArgKind::Double: call(arg.real); break;
    case ArgKind::Text: call(arg.text.c_str()); break;
    case ArgKind::Pointer: call(arg.pointer); break;
    }
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<std::size_t>(n));
    // Long texts: measured above, formatted again into a buffer of the right size.
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    auto callBig = [&](auto value) {
        if (stars == 0) std::snprintf(big.data(), big.size(), conversion.c_str(), value);
        else if (stars == 1) std::snprintf(big.data(), big.size(), conversion.c_str(), star1, value);
        else std::snprintf(big.data(), big.size(), conversion.c_str(), star1, star2, value);
    };
    switch (arg.kind) {
    case ArgKind::Int32: callBig(static_cast<int>(arg.integer)); break;
    case ArgKind::Int64: callBig(static_cast<long long>(arg.integer)); break;
    case ArgKind::Double: callBig(arg.real); break;
    case ArgKind::Text: callBig(arg.text.c_str()); break;
    case ArgKind::Pointer: callBig(arg.pointer); break;
    }
    big.resize(static_cast<std::size_t>(n));
    return big;
}

}  // namespace

std::string formatArgs(std::string_view format, const std::vector<Arg>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::string conversion = "%";
        std::size_t j = i + 1;
        int stars = 0;
        int star[2] = {0, 0};
        auto takeStar = [&] {
            const Arg& a = take(format, args, next);
            if (a.kind != ArgKind::Int32) fail(format, "\"*\" needs an int argument");
            if (stars < 2) star[stars] = static_cast<int>(a.integer);
            ++stars;
            conversion += '*';
            ++j;
        };
        while (j < format.size() && std::string_view("-+ #0'").find(format[j]) != std::string_view::npos)
            conversion += format[j++];
        if (j < format.size() && format[j] == '*') takeStar();
        while (j < format.size() && format[j] >= '0' && format[j] <= '9') conversion += format[j++];
        if (j < format.size() && format[j] == '.') {
            conversion += format[j++];
            if (j < format.size() && format[j] == '*') takeStar();
            while (j < format.size() && format[j] >= '0' && format[j] <= '9') conversion += format[j++];
        }
        std::string length;
        while (j < format.size() && std::string_view("hlqzjtL").find(format[j]) != std::string_view::npos)
            length += format[j++];
        if (j >= format.size()) fail(format, "a conversion is cut off at the end");
        const char conv = format[j];
        const Arg& arg = take(format, args, next);
        const bool wide = length == "l" || length == "ll" || length == "q" || length == "z" || length == "j" ||
                          length == "t";
        const bool narrow = length.empty() || length == "h" || length == "hh";
        switch (conv) {
        case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': case 'c':
            if (conv == 'c' && !length.empty()) fail(format, "\"%c\" takes no length modifier");
            if (!(wide && arg.kind == ArgKind::Int64) && !(narrow && arg.kind == ArgKind::Int32))
                fail(format, std::string("the argument of \"%") + length + conv + "\" has the wrong type");
            // Rendered with the wide form, since the value is carried as 64 bits either way.
            conversion += (arg.kind == ArgKind::Int64 ? "ll" : length);
            break;
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A':
            if (arg.kind != ArgKind::Double) fail(format, std::string("\"%") + conv + "\" needs a floating value");
            if (length == "L") fail(format, "long double is not supported");
            break;
        case 's': case '@':
            if (arg.kind != ArgKind::Text) fail(format, std::string("\"%") + conv + "\" needs a text or an object");
            conversion += 's';
            out += render(conversion, arg, star[0], star[1], stars);
            i = j;
            continue;
        case 'p':
            if (arg.kind != ArgKind::Pointer) fail(format, "\"%p\" needs a pointer");
            break;
        default:
            fail(format, std::string("unknown conversion \"%") + conv + "\"");
        }
        conversion += conv;
        out += render(conversion, arg, star[0], star[1], stars);
        i = j;
    }
    if (next != args.size()) fail(format, "more arguments than conversions");
    return out;
}

}  // namespace platform::format_detail
