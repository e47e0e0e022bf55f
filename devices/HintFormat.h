// Tool hint texts of a description file are formats. They never reach
// printf: "%%" is a percent sign, each conversion %[flags][width][.precision]
// followed by d or s takes the next value in turn (a number as %d, a text
// as %s), a conversion with no value left writes nothing, and anything else
// stands as it is written.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

#include <quillon/platform/CString.h>

struct HintValue {
    HintValue(int n) : number(n) {}                            // NOLINT: a value, as in printf
    HintValue(const char* t) : text(t != nullptr ? t : "") {}  // NOLINT
    const char* text = nullptr;                                // null: the number
    int number = 0;
};

CString FormatHint(const CString& format, std::initializer_list<HintValue> values);

// What a format given `values` values would show otherwise than its author
// may mean (a '%' that is no conversion, more conversions than values), for
// quillon-lint; empty when nothing.
std::string HintFormatProblem(const CString& format, std::size_t values);
