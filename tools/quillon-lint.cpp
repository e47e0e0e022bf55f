// quillon-lint [--pictures DIR] TARVIK.INI: tells, line by line, what in a
// screen description the screen would get wrong without a word.
#include <cstdio>
#include <cstring>
#include <string>

#include <quillon/testing.h>

#include "tools/Lint.h"

namespace {

int Usage() {
    std::fputs("usage: quillon-lint [--pictures DIR] TARVIK.INI\n", stderr);
    return 2;
}

// The folder the screen would be given, with its trailing separator.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
    std::string ini;
    std::string pictures;
    bool picturesGiven = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc) {
            pictures = argv[++i];
            picturesGiven = true;
        } else if (argv[i][0] == '-' || !ini.empty()) {
            return Usage();
        } else {
            ini = argv[i];
        }
    }
    if (ini.empty()) return Usage();
    if (!picturesGiven) pictures = FolderOf(ini);
    // The screen joins folder and name as they are; a folder given without
    // its separator is meant as a folder all the same.
    if (!pictures.empty() && pictures.back() != '/') pictures += '/';

    // The pictures load as the screen loads them, without a display.
    quillon::testing::Harness harness;
    const quillon::lint::Report report = quillon::lint::LintDescription(ini, pictures);
    for (const quillon::lint::Finding& f : report.findings)
        std::printf("%s\n", quillon::lint::FormatFinding(ini, f).c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "quillon-lint: %s: %d error%s, %d warning%s\n", ini.c_str(), report.errors,
                 report.errors == 1 ? "" : "s", report.warnings, report.warnings == 1 ? "" : "s");
    return report.errors > 0 ? 1 : 0;
}
