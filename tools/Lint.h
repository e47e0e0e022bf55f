// The checks of quillon-lint: a screen description read as the main screen
// reads it, with everything that would go wrong without a word reported
// against the line it comes from. A library of its own so that the tests
// can run it on files they write.
#pragma once

#include <string>
#include <vector>

namespace quillon {
namespace lint {

enum class Severity { Warning, Error };

// What a finding is about, for callers that sort or count them.
enum class Kind {
    CannotOpen,        // the description itself
    UnknownStatement,  // a top-level line that is none of the statements
    UnknownKey,        // a line the section does not read
    BeforeBg,          // an item section before BG: read and dropped
    SecondBg,          // a BG after the first: read and dropped
    NoBg,              // no BG at all: no window
    BadView,           // VIEW with a name that is no view
    ViewReset,         // a placement key that an item key sent back to AUDIO
    BadPlacement,      // POSITION or SIZE without two numbers
    BadValue,          // a value the reader cannot take, or a line it ignores
    Picture,           // a picture, mask or font file that does not load
    Sound,             // an SE file that is missing or no WAV
    WeekdayCount,      // BMPTEXT lines other than seven
    SlotNumber,        // SLOTNO outside 1 to 8, missing or repeated
    NoMargin,          // no PROGRAMMARGIN
    SlotHints,         // SLOTBUTTON_ALL that misses slot buttons
    BalloonOrder,      // CALENDARBALLOONHELP before CALENDAR
    EndOfFile,         // the file ends inside a section
    DeviceName,        // a device name the screen gives no meaning
    Missing,           // a key the item needs to show anything
    Repeated,          // a second section of a kind the screen keeps one of
};

struct Finding {
    int line = 0;
    Severity severity = Severity::Error;
    Kind kind = Kind::BadValue;
    std::string message;  // UTF-8
};

struct Report {
    std::vector<Finding> findings;  // in file order
    // The BG picture as the screen loads it (picture folder + value), empty
    // without one.
    std::string background;
    int errors = 0;
    int warnings = 0;
};

// Reads `iniPath`; picture names are appended to `pictureDir` as written,
// as the screen does (so it should end with a separator). Needs a backend:
// run it inside a quillon::testing::Harness.
Report LintDescription(const std::string& iniPath, const std::string& pictureDir);

// "FILE:LINE: error: message".
std::string FormatFinding(const std::string& file, const Finding& finding);

}  // namespace lint
}  // namespace quillon
