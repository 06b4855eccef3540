#pragma once

#include <string>
#include <string_view>

#include "copyarray/copy_array.h"

// What "前回値" puts back: the rows as the last completed "完了+JWWに送信" sent them. They live
// in zovrel.ini beside zovrel.exe, never in the registry; the batch tool does not read them.
//
// The file is a [zovrel] section of key=value lines (CR LF), the value everything after the
// first '=', spaces included:
//   move-x=120.00  move-x-slider=100  move-x-unit=mm   (mm|m; move-y likewise)
//   angle=90  angle-slider=0  angle-unit=deg            (deg|rad)
//   scale-x, scale-y, copies: the text and its -slider
//   last-keep-attributes=0|1: the check box 属性・文字も複写 of that completion (optional)
// and, apart from the set, keep-attributes=0|1: the check box as it was last left, which every
// start takes up again.
// Every key listed must be there exactly once. A key this version does not know is passed
// over, so a later one may add its own (the keep-attributes check box) and still be read
// here; blank lines, ';' comments and other sections are passed over too.

constexpr char kSettingsFileName[] = "zovrel.ini";

struct LastValues {
    CopyInputs rows;  // texts, sliders, units and the keep-attributes check box
};

// The whole file: the check box as last left, and the last values where there are some.
struct Settings {
    bool keepAttributes = false;
    bool hasLast = false;
    LastValues last;
};

// Whether these rows could have come from the panel: texts of at most 127 characters that a
// box can hold (Shift-JIS, no control characters), digits only for the copies, sliders
// 0..100, known units. Anything else is never stored nor restored.
bool storableRows(const CopyInputs& rows);

// The file's text; rows that are not storable give the bare section, which reads back as
// nothing stored.
std::string formatLastValues(const LastValues& values);

// True and out filled when the text holds a whole, storable set; otherwise out is untouched.
bool parseLastValues(std::string_view file, LastValues& out);

// The check box as last left: on only for a line keep-attributes=1 in the section.
bool parseKeepAttributes(std::string_view file);

std::string formatSettings(const Settings& settings);
// True and out filled when every line of the section is one the program could have written
// (keys it does not know aside) and the last values are there whole or not at all; otherwise
// out is untouched: a file damaged anywhere is ignored as a whole, the check box included.
bool parseSettings(std::string_view file, Settings& out);
// What a missing, unreadable or damaged file holds: the check box off, no last values.
Settings readSettings(const char* path);
// Through a temporary file beside path and one replace, as the exchange file is written;
// false, with nothing changed, when that cannot be done (a folder that cannot be written,
// a read-only file).
bool writeSettings(const char* path, const Settings& settings);
