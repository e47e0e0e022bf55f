// Finding an installed face for a requested name with fontconfig.
//
// fontconfig answers every request with some face, even "ＭＳ ゴシック", which
// it would otherwise match with a Latin-only face. We teach it the Japanese
// system faces' names at start-up and check Japanese coverage ourselves.
#include "platform/text/FontFace.h"

#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#define QUILLON_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLON_LEAK_CHECKS 1
#endif
#endif
#ifdef QUILLON_LEAK_CHECKS
#include <sanitizer/lsan_interface.h>
#endif

namespace quillon {
namespace platform {
namespace {

// The Japanese faces the screen asks for, mapped to the faces Debian ships.
const char kAliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <alias binding="same">
    <family>ＭＳ ゴシック</family>
    <prefer><family>IPAGothic</family><family>Noto Sans CJK JP</family></prefer>
  </alias>
  <alias binding="same">
    <family>MS Gothic</family>
    <prefer><family>IPAGothic</family><family>Noto Sans CJK JP</family></prefer>
  </alias>
  <alias binding="same">
    <family>ＭＳ Ｐゴシック</family>
    <prefer><family>IPAPGothic</family><family>Noto Sans CJK JP</family></prefer>
  </alias>
  <alias binding="same">
    <family>MS PGothic</family>
    <prefer><family>IPAPGothic</family><family>Noto Sans CJK JP</family></prefer>
  </alias>
</fontconfig>
)";

// Kana, kanji and punctuation: a face with all of them can show Japanese.
const FcChar32 kJapaneseProbe[] = {0x3001, 0x3042, 0x30A2, 0x30FC, 0x65E5, 0x672C, 0x6708};

struct MatchState {
    FcConfig* config = nullptr;
    bool configTried = false;
    std::string fontDirectory;  // non-empty: only this folder (tests)
    // The system's configuration is built once and kept across test folders.
    FcConfig* systemConfig = nullptr;
    bool systemTried = false;
    bool fallbackResolved = false;
    FontMatchResult fallback;
    bool warnedJapanese = false;
    bool warnedNone = false;
};

MatchState& State() {
    static MatchState state;
    return state;
}

FcConfig* Build(const std::string& fontDirectory) {
    FcConfig* config = FcConfigCreate();
    if (config == nullptr) return nullptr;
    bool ok = true;
    if (fontDirectory.empty()) {
        // The system's own configuration first, so our aliases come last. A
        // broken or missing one still leaves us with a usable (empty) setup.
        // fontconfig itself loses a few hundred bytes while reading it (any
        // program that loads the system configuration does): not ours to report.
#ifdef QUILLON_LEAK_CHECKS
        __lsan_disable();
#endif
        FcConfigParseAndLoad(config, nullptr, FcFalse);
#ifdef QUILLON_LEAK_CHECKS
        __lsan_enable();
#endif
    } else {
        // Somewhere to keep the folder's cache, or fontconfig complains.
        FcConfigParseAndLoadFromMemory(
            config,
            reinterpret_cast<const FcChar8*>(
                "<fontconfig><cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>"),
            FcFalse);
        ok = FcConfigAppFontAddDir(
                 config, reinterpret_cast<const FcChar8*>(fontDirectory.c_str())) == FcTrue;
    }
    if (ok) {
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(kAliases), FcTrue);
        ok = FcConfigBuildFonts(config) == FcTrue;
    }
    if (!ok) {
        FcConfigDestroy(config);
        return nullptr;
    }
    return config;
}

FcConfig* Config() {
    MatchState& s = State();
    if (s.fontDirectory.empty()) {
        if (!s.systemTried) {
            s.systemTried = true;
            s.systemConfig = Build(std::string());
        }
        return s.systemConfig;
    }
    if (!s.configTried) {
        s.configTried = true;
        s.config = Build(s.fontDirectory);
    }
    return s.config;
}

bool CoversJapanese(FcPattern* font) {
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch || !charset) {
        return false;
    }
    for (FcChar32 c : kJapaneseProbe) {
        if (!FcCharSetHasChar(charset, c)) return false;
    }
    return true;
}

FontMatchResult ResultOf(FcPattern* font) {
    FontMatchResult r;
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) return r;
    // The same face can be listed under several paths (Debian's alternatives
    // symlinks); one path per file lets them share faces and glyphs.
    char* real = realpath(reinterpret_cast<const char*>(file), nullptr);
    r.file = real ? real : reinterpret_cast<const char*>(file);
    std::free(real);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) r.index = index;
    r.hasJapanese = CoversJapanese(font);
    return r;
}

FcPattern* Pattern(const FontRequest& request, const char* const* extraFamilies) {
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return nullptr;
    const char* family = request.familyUtf8.empty() ? "sans-serif" : request.familyUtf8.c_str();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    for (; extraFamilies && *extraFamilies; ++extraFamilies) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(*extraFamilies));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    if (request.needJapanese) {
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    }
    return pattern;
}

FontMatchResult Match(const FontRequest& request, const char* const* extraFamilies) {
    FontMatchResult result;
    FcConfig* config = Config();
    if (config == nullptr) return result;
    FcPattern* pattern = Pattern(request, extraFamilies);
    if (pattern == nullptr) return result;
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status = FcResultNoMatch;
    if (FcPattern* font = FcFontMatch(config, pattern, &status)) {
        result = ResultOf(font);
        FcPatternDestroy(font);
    }
    if (request.needJapanese && !result.hasJapanese) {
        // fontconfig ranks the family name above the language, so the best
        // match may lack Japanese; take the best face that has it.
        if (FcFontSet* set = FcFontSort(config, pattern, FcFalse, nullptr, &status)) {
            for (int i = 0; i < set->nfont; ++i) {
                if (CoversJapanese(set->fonts[i])) {
                    FontMatchResult r = ResultOf(set->fonts[i]);
                    if (!r.file.empty()) {
                        result = r;
                        break;
                    }
                }
            }
            FcFontSetDestroy(set);
        }
    }
    FcPatternDestroy(pattern);
    return result;
}

}  // namespace

FontMatchResult MatchFont(const FontRequest& request) {
    return Match(request, nullptr);
}

FontMatchResult JapaneseFallbackFont() {
    MatchState& s = State();
    if (s.fallbackResolved) return s.fallback;
    s.fallbackResolved = true;
    static const char* const kPreferred[] = {"Noto Sans CJK JP", nullptr};
    FontRequest request;
    request.familyUtf8 = "IPAGothic";
    request.needJapanese = true;
    FontMatchResult r = Match(request, kPreferred);
    if (!r.hasJapanese) {
        r = FontMatchResult();
        if (!s.warnedJapanese) {
            s.warnedJapanese = true;
            std::fprintf(stderr,
                         "quillon: no installed font covers Japanese; Japanese text is drawn as "
                         "boxes (install fonts-ipafont-gothic)\n");
        }
    }
    s.fallback = r;
    return r;
}

void WarnNoFontsOnce() {
    MatchState& s = State();
    if (s.warnedNone) return;
    s.warnedNone = true;
    std::fprintf(stderr, "quillon: no usable font was found; text is drawn as boxes\n");
}

void ResetFontMatching(const char* fontDirectory) {
    MatchState& s = State();
    if (s.config) FcConfigDestroy(s.config);
    MatchState fresh;
    fresh.systemConfig = s.systemConfig;
    fresh.systemTried = s.systemTried;
    fresh.fontDirectory = fontDirectory ? fontDirectory : "";
    s = fresh;
}

}  // namespace platform
}  // namespace quillon
