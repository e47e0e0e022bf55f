// Shift-JIS (code page 932) conversions. CP932 rather than SHIFT_JIS: the
// latter maps 0x5C and 0x7E to yen and overline and refuses the vendor rows.
#include <quillon/platform/CString.h>

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace {

// Opening a converter costs about as much as converting a short text, and
// text is converted at every tool tip and every line drawn: keep one open
// per direction. A host may convert from threads of its own, so the
// converters are used under a lock (it costs far less than a conversion).
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    // Ready for a new text: no shift state left from the last one.
    iconv_t Get() {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return m_cd;
    }

private:
    iconv_t m_cd;
};

std::mutex g_convertLock;

// Under g_convertLock.
iconv_t Open(const char* to, const char* from) {
    static std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> open;
    auto& slot = open[{to, from}];
    if (!slot) slot = std::make_unique<Converter>(to, from);
    return slot->Ok() ? slot->Get() : reinterpret_cast<iconv_t>(-1);
}

// Converts with iconv, replacing what cannot be converted and going on.
// skipBytes says how many input bytes a bad sequence costs.
std::string Convert(const char* to, const char* from, const std::string& in,
                    const std::string& replacement, bool sjisInput) {
    std::string out;
    if (in.empty()) return out;
    std::lock_guard<std::mutex> lock(g_convertLock);
    iconv_t cd = Open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return in;  // no converter on this system: hand the bytes on unchanged
    }
    out.reserve(in.size() * 2);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buf[1024];
    while (inLeft > 0) {
        char* outPtr = buf;
        std::size_t outLeft = sizeof buf;
        std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buf, static_cast<std::size_t>(outPtr - buf));
        if (r != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: replace the bad character and go on after it.
        std::size_t skip = 1;
        if (sjisInput) {
            auto c = static_cast<unsigned char>(*inPtr);
            if (IsSjisLeadByte(c) && inLeft >= 2) {
                auto t = static_cast<unsigned char>(inPtr[1]);
                // A proper trail byte goes with its lead; anything else may
                // start a character of its own.
                if (t >= 0x40 && t <= 0xFC && t != 0x7F) skip = 2;
            }
        } else {
            // Skip the whole UTF-8 sequence the lead byte announces.
            auto c = static_cast<unsigned char>(*inPtr);
            std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            skip = 1;
            while (skip < n && skip < inLeft &&
                   (static_cast<unsigned char>(inPtr[skip]) & 0xC0) == 0x80) {
                ++skip;
            }
        }
        inPtr += skip;
        inLeft -= skip;
        out += replacement;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

std::string ToUtf8(const CString& sjis) {
    return Convert("UTF-8", "CP932", sjis.str(), "\xEF\xBF\xBD", true);
}

CString FromUtf8(const char* utf8) {
    if (utf8 == nullptr) return CString();
    return CString(Convert("CP932", "UTF-8", utf8, "?", false));
}

std::u32string ToUtf32(const CString& sjis) {
    std::string bytes =
        Convert("UTF-32LE", "CP932", sjis.str(), std::string("\xFD\xFF\x00\x00", 4), true);
    std::u32string out;
    out.reserve(bytes.size() / 4);
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        auto b = [&](std::size_t k) {
            return static_cast<char32_t>(static_cast<unsigned char>(bytes[i + k]));
        };
        out.push_back(b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24));
    }
    return out;
}

const CString& Sjis(const char* utf8Literal) {
    static std::mutex mutex;
    static std::map<std::string, CString> cache;
    std::string key = utf8Literal ? utf8Literal : "";
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, FromUtf8(key.c_str())).first;
    return it->second;
}
