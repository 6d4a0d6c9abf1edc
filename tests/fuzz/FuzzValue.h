#pragma once

// Helpers shared by the fuzz targets: a value equality that a round trip can be held to, and a stop that tells
// libFuzzer a contract was broken (an abort is reported as a crash with the input saved).

#include "platform/core/Value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

enum class Numbers {
    Exact,
    // JSON writes a whole real as an integer would be written ("40"), and reads that text as an integer.
    WholeRealAsInteger,
};

// Value's own == compares reals with ==, so a stored NaN would never equal itself; a round trip keeps NaN as NaN.
inline bool sameValue(const Value& a, const Value& b, Numbers numbers = Numbers::Exact) {
    if (numbers == Numbers::WholeRealAsInteger && a.isReal() && b.isInteger())
        return *a.asReal() == static_cast<double>(*b.asInteger());
    if (a.type() != b.type()) return false;
    if (auto x = a.asReal()) {
        const double y = *b.asReal();
        return (std::isnan(*x) && std::isnan(y)) || *x == y;
    }
    if (auto* x = a.asArray()) {
        const Value::Array& y = *b.asArray();
        if (x->size() != y.size()) return false;
        for (std::size_t i = 0; i < x->size(); ++i)
            if (!sameValue((*x)[i], y[i], numbers)) return false;
        return true;
    }
    if (auto* x = a.asDictionary()) {
        const Value::Dictionary& y = *b.asDictionary();
        if (x->size() != y.size()) return false;
        for (auto i = x->begin(), j = y.begin(); i != x->end(); ++i, ++j)
            if (i->first != j->first || !sameValue(i->second, j->second, numbers)) return false;
        return true;
    }
    return a == b;
}

[[noreturn]] inline void broken(const char* what) {
    std::fprintf(stderr, "contract broken: %s\n", what);
    std::abort();
}

inline void require(bool condition, const char* what) {
    if (!condition) broken(what);
}

}  // namespace fuzz
