// Tool hint texts of a description file are formats, shown as printf
// would show them, but the format never reaches printf with values it does
// not have: "%%" is a percent sign, each conversion
// %[flags][width][.precision][length]letter takes the next value in turn
// (a number, or a text, which a number's conversion shows padded as %s
// would), a conversion with no value left writes nothing, and what is no
// conversion ("%n", a '*' width, a width of five digits) stands as written.
// A precision never cuts through a double-byte character.
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
