#include "devices/HintFormat.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool IsOneOf(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

// Four digits at most: a larger width is a slip, not a layout.
constexpr int kMaxDigits = 4;

struct Spec {
    std::string flags;
    std::string width;      // digits, or empty
    std::string precision;  // ".digits", or empty
    std::string length;     // hh h l ll j z t L, or empty
    char letter = 0;
    std::size_t end = 0;  // the index of the letter
};

std::size_t Digits(const std::string& f, std::size_t j, std::string* out) {
    for (; j < f.size() && IsOneOf(f[j], "0123456789"); ++j) *out += f[j];
    return j;
}

// The conversion %[flags][width][.precision][length]letter at f[i] (a
// '%'), or false when it is none ('*' widths and %n are none: they would
// read or write what no value gives).
bool Conversion(const std::string& f, std::size_t i, Spec* s) {
    std::size_t j = i + 1;
    for (; j < f.size() && IsOneOf(f[j], "-+ #0"); ++j) s->flags += f[j];
    j = Digits(f, j, &s->width);
    if (j < f.size() && f[j] == '.') {
        s->precision = ".";
        j = Digits(f, j + 1, &s->precision);
    }
    if (s->width.size() > kMaxDigits || s->precision.size() > kMaxDigits + 1) return false;
    for (const char* length : {"hh", "ll", "h", "l", "j", "z", "t", "L"}) {
        if (f.compare(j, std::strlen(length), length) == 0) {
            s->length = length;
            j += s->length.size();
            break;
        }
    }
    if (j >= f.size() || !IsOneOf(f[j], "diouxXcseEfFgGaA")) return false;
    s->letter = f[j];
    s->end = j;
    return true;
}

template <typename... Args>
std::string Printf(const std::string& format, Args... args) {
    const int n = std::snprintf(nullptr, 0, format.c_str(), args...);
    if (n <= 0) return "";
    std::string out(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(&out[0], out.size(), format.c_str(), args...);
    out.resize(static_cast<std::size_t>(n));
    return out;
}

// A number under an integer conversion, narrowed as its length says.
std::string Integer(const Spec& s, int v) {
    const std::string format = "%" + s.flags + s.width + s.precision;
    const std::string& l = s.length;
    if (s.letter == 'c')
        return Printf(format + "c", static_cast<int>(static_cast<unsigned char>(v)));
    if (s.letter == 'd' || s.letter == 'i') {
        long long n = v;
        if (l == "hh") n = static_cast<signed char>(v);
        if (l == "h") n = static_cast<short>(v);
        return Printf(format + "lld", n);
    }
    unsigned long long n = static_cast<unsigned>(v);
    if (l == "hh") n = static_cast<unsigned char>(v);
    if (l == "h") n = static_cast<unsigned short>(v);
    if (l == "l" || l == "ll" || l == "j" || l == "z" || l == "t")
        n = static_cast<unsigned long long>(static_cast<long long>(v));
    return Printf(format + "ll" + s.letter, n);
}

// A text: cut to the precision (never inside a double-byte character),
// then padded to the width, on the right with "-".
std::string Text(const Spec& s, const std::string& text, bool cut) {
    std::string t = text;
    if (cut && !s.precision.empty()) {
        const std::size_t most = static_cast<std::size_t>(std::atoi(s.precision.c_str() + 1));
        std::size_t n = 0;
        while (n < t.size()) {
            const std::size_t step =
                IsSjisLeadByte(static_cast<unsigned char>(t[n])) && n + 1 < t.size() ? 2 : 1;
            if (n + step > most) break;
            n += step;
        }
        t.resize(n);
    }
    const std::size_t width = static_cast<std::size_t>(std::atoi(s.width.c_str()));
    const std::string pad(t.size() < width ? width - t.size() : 0, ' ');
    return s.flags.find('-') != std::string::npos ? t + pad : pad + t;
}

std::string Convert(const Spec& s, const HintValue& v) {
    const bool text = v.text != nullptr;
    if (s.letter == 's') return Text(s, text ? v.text : std::to_string(v.number), true);
    // A text under a number's conversion keeps its place and its width.
    if (text) return Text(s, v.text, false);
    if (IsOneOf(s.letter, "eEfFgGaA")) {
        const std::string format = "%" + s.flags + s.width + s.precision;
        if (s.length == "L")
            return Printf(format + "L" + s.letter, static_cast<long double>(v.number));
        return Printf(format + s.letter, static_cast<double>(v.number));
    }
    return Integer(s, v.number);
}

// Walks a format: `text(at, n, stray)` for bytes that show as written (a
// stray '%' is one that begins no conversion), `conversion(spec)` for each
// conversion, in order.
template <class Text, class Convert>
void Walk(const std::string& f, Text text, Convert conversion) {
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(f[i])) && i + 1 < f.size()) {
            text(i++, 2, false);
        } else if (f[i] == '%' && i + 1 < f.size() && f[i + 1] == '%') {
            text(i++, 1, false);  // "%%": one percent sign
        } else if (Spec s; f[i] == '%' && Conversion(f, i, &s)) {
            conversion(s);
            i = s.end;
        } else {
            text(i, 1, f[i] == '%');
        }
    }
}

}  // namespace

CString FormatHint(const CString& format, std::initializer_list<HintValue> values) {
    const std::string& f = format.str();
    std::string out;
    const HintValue* next = values.begin();
    Walk(
        f, [&](std::size_t at, std::size_t n, bool) { out.append(f, at, n); },
        [&](const Spec& s) {
            if (next != values.end()) out += Convert(s, *next++);
        });
    return CString(out);
}

std::string HintFormatProblem(const CString& format, std::size_t values) {
    const std::string& f = format.str();
    std::size_t conversions = 0;
    std::size_t stray = std::string::npos;
    Walk(
        f,
        [&](std::size_t at, std::size_t, bool isStray) {
            if (isStray && stray == std::string::npos) stray = at;
        },
        [&](const Spec&) { ++conversions; });
    if (stray != std::string::npos)
        return "\"" + f.substr(stray, 2) +
               "\" is no conversion (such as %d or %s, or %% for a percent sign): it shows as "
               "written";
    if (conversions > values)
        return std::to_string(conversions) + " conversions for " + std::to_string(values) +
               (values == 1 ? " value" : " values") + ": the rest show nothing";
    return "";
}
