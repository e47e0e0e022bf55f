#include "devices/HintFormat.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool IsOneOf(char c, const char* set) {
    for (; *set != '\0'; ++set) {
        if (*set == c) return true;
    }
    return false;
}

// The conversion %[flags][width][.precision](d|s) at f[i] (a '%'): the
// index of its letter, or npos when it is none. Two digits at most for the
// width and the precision.
std::size_t Conversion(const std::string& f, std::size_t i, std::string* flags, std::string* size) {
    std::size_t j = i + 1;
    for (; j < f.size() && IsOneOf(f[j], "-+ 0"); ++j) *flags += f[j];
    for (int n = 0; n < 2 && j < f.size() && IsOneOf(f[j], "0123456789"); ++n) *size += f[j++];
    if (j < f.size() && f[j] == '.') {
        *size += f[j++];
        for (int n = 0; n < 2 && j < f.size() && IsOneOf(f[j], "0123456789"); ++n) *size += f[j++];
    }
    return j < f.size() && (f[j] == 'd' || f[j] == 's') ? j : std::string::npos;
}

}  // namespace

CString FormatHint(const CString& format, std::initializer_list<HintValue> values) {
    const std::string& f = format.str();
    std::string out;
    const HintValue* next = values.begin();
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(f[i])) && i + 1 < f.size()) {
            out.append(f, i, 2);
            ++i;
            continue;
        }
        if (f[i] != '%') {
            out += f[i];
            continue;
        }
        if (i + 1 < f.size() && f[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::string flags;
        std::string size;
        const std::size_t j = Conversion(f, i, &flags, &size);
        if (j == std::string::npos) {
            out += '%';  // not a conversion: the text as it stands
            continue;
        }
        if (next != values.end() && next->text == nullptr) {
            char buf[64] = "";
            std::snprintf(buf, sizeof buf, ("%" + flags + size + "d").c_str(), next->number);
            out += buf;
        } else if (next != values.end()) {
            // A text is padded to its width (left-aligned with "-"), never cut.
            const std::string text = next->text;
            const std::size_t width = static_cast<std::size_t>(std::atoi(size.c_str()));
            const std::string pad(text.size() < width ? width - text.size() : 0, ' ');
            out += flags.find('-') != std::string::npos ? text + pad : pad + text;
        }
        if (next != values.end()) ++next;
        i = j;
    }
    return CString(out);
}

std::string HintFormatProblem(const CString& format, std::size_t values) {
    const std::string& f = format.str();
    std::size_t conversions = 0;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(f[i])) && i + 1 < f.size()) {
            ++i;
        } else if (f[i] == '%' && i + 1 < f.size() && f[i + 1] == '%') {
            ++i;
        } else if (f[i] == '%') {
            std::string flags, size;
            const std::size_t j = Conversion(f, i, &flags, &size);
            if (j == std::string::npos)
                return "\"" + f.substr(i, 2) +
                       "\" is no conversion (%d, %s or %% for a percent sign): it shows as written";
            ++conversions;
            i = j;
        }
    }
    if (conversions > values)
        return std::to_string(conversions) + " conversions for " + std::to_string(values) +
               (values == 1 ? " value" : " values") + ": the rest show nothing";
    return "";
}
