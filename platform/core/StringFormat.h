#pragma once

// stringWithFormat: printf-style formatting with the device's "%@" for objects and texts.
//
// Arguments are checked against the conversions before anything is formatted, so a format that does not match
// its arguments is a RuntimeError rather than undefined behaviour: "%d" and "%x" take an int-sized integer,
// "%ld" / "%lX" / "%zu" / "%lld" a 64-bit one (bool, char and short count as int), "%f" / "%g" / "%e" a floating
// value, "%s" a text, "%@" a text or an object (written as its description, "(null)" when null), "%p" a pointer,
// "%c" an int, "*" width or precision an int. Flags, width and precision follow printf ("%02lX").

#include "platform/core/Object.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace platform {

namespace format_detail {

enum class ArgKind { Int32, Int64, Double, Text, Pointer };

struct Arg {
    ArgKind kind;
    std::int64_t integer = 0;
    double real = 0;
    std::string text;
    const void* pointer = nullptr;
};

template <class T>
Arg makeArg(const T& value) {
    using U = std::remove_cvref_t<T>;
    if constexpr (std::is_same_v<U, bool> || std::is_same_v<U, char> || std::is_same_v<U, signed char> ||
                  std::is_same_v<U, unsigned char> || std::is_same_v<U, short> ||
                  std::is_same_v<U, unsigned short> || std::is_same_v<U, int> || std::is_same_v<U, unsigned> ||
                  std::is_enum_v<U>)
        return Arg{ArgKind::Int32, static_cast<std::int64_t>(value), 0, {}, nullptr};
    else if constexpr (std::is_integral_v<U>)
        return Arg{ArgKind::Int64, static_cast<std::int64_t>(value), 0, {}, nullptr};
    else if constexpr (std::is_floating_point_v<U>)
        return Arg{ArgKind::Double, 0, static_cast<double>(value), {}, nullptr};
    else if constexpr (std::is_convertible_v<const U&, std::string_view>)
        return Arg{ArgKind::Text, 0, 0, std::string(std::string_view(value)), nullptr};
    else if constexpr (std::is_same_v<U, std::nullptr_t>)
        return Arg{ArgKind::Pointer, 0, 0, {}, nullptr};
    else if constexpr (requires { value->description(); })
        return Arg{ArgKind::Text, 0, 0, value ? value->description() : std::string("(null)"), value.get()};
    else if constexpr (std::is_pointer_v<U>)
        return Arg{ArgKind::Pointer, 0, 0, {}, static_cast<const void*>(value)};
    else
        static_assert(!sizeof(U), "stringWithFormat cannot format this type");
}

std::string formatArgs(std::string_view format, const std::vector<Arg>& args);

}  // namespace format_detail

template <class... A>
std::string stringWithFormat(std::string_view format, const A&... args) {
    return format_detail::formatArgs(format, {format_detail::makeArg(args)...});
}

}  // namespace platform
