#include "app/settings_file.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "figure/exchange_io.h"
#include "figure/expression.h"

namespace {

constexpr char kSection[] = "zovrel";
constexpr char kLastKeepKey[] = "last-keep-attributes";
constexpr char kKeepKey[] = "keep-attributes";
constexpr const char* kRowKeys[kRowCount] = {"move-x",  "move-y",  "angle",
                                             "scale-x", "scale-y", "copies"};
constexpr char kSliderSuffix[] = "-slider";
constexpr char kUnitSuffix[] = "-unit";
constexpr char kMillimetres[] = "mm";
constexpr char kMetres[] = "m";
constexpr char kDegrees[] = "deg";
constexpr char kRadians[] = "rad";
constexpr int kUnitRows = 3;  // move-x, move-y, angle
// A written file is well under 2 KiB; anything far larger is not ours.
constexpr std::size_t kMaxFileSize = 64 * 1024;

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

bool isTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// What an "A" edit can hold: printable ASCII, half-width katakana and whole double-byte
// characters of code page 932.
bool typeableText(std::string_view text) {
    if (text.size() > kRowTextSize - 1) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (isControl(c)) return false;
        } else if (isShiftJisLead(c)) {
            if (++i == text.size() || !isTrailByte(static_cast<unsigned char>(text[i])))
                return false;
        } else if (c < 0xA1 || c > 0xDF) {
            return false;
        }
    }
    return true;
}

bool digitsOnly(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool rowTextFits(int row, std::string_view text) {
    if (!typeableText(text)) return false;
    return row != kRowCopies || digitsOnly(text);
}

bool sliderFits(int position) {
    return position >= 0 && position <= 100;
}

const char* moveUnitName(int factor) {
    if (factor == kMoveFactorMillimetres) return kMillimetres;
    if (factor == kMoveFactorMetres) return kMetres;
    return nullptr;
}

const char* angleUnitName(double factor) {
    if (factor == kDegreeFactor) return kDegrees;
    if (factor == kRadianFactor) return kRadians;
    return nullptr;
}

// Which value a key names; kinds are checked and stored one by one.
enum class Kind { text, slider, unit, keep, unknown };
struct Key {
    Kind kind = Kind::unknown;
    int row = 0;
};

Key keyOf(std::string_view key) {
    if (key == kLastKeepKey) return {Kind::keep, 0};
    for (int r = 0; r < kRowCount; ++r) {
        const std::string_view name = kRowKeys[r];
        if (key.substr(0, name.size()) != name) continue;
        const std::string_view rest = key.substr(name.size());
        if (rest.empty()) return {Kind::text, r};
        if (rest == kSliderSuffix) return {Kind::slider, r};
        if (rest == kUnitSuffix && r < kUnitRows) return {Kind::unit, r};
    }
    return {};
}

// Stores one value; false when it is not one the panel could have had.
bool take(const Key& key, std::string_view value, CopyInputs& rows) {
    switch (key.kind) {
        case Kind::text:
            if (!rowTextFits(key.row, value)) return false;
            std::memcpy(rows.rowText[key.row], value.data(), value.size());
            rows.rowText[key.row][value.size()] = '\0';
            return true;
        case Kind::slider: {
            int position = -1;
            const char* end = value.data() + value.size();
            if (value.empty() || value.size() > 3 || !digitsOnly(value) ||
                std::from_chars(value.data(), end, position).ptr != end || !sliderFits(position))
                return false;
            rows.rowSlider[key.row] = position;
            return true;
        }
        case Kind::unit:
            if (key.row == kRowAngle) {
                if (value == kDegrees)
                    rows.angleUnitFactor = kDegreeFactor;
                else if (value == kRadians)
                    rows.angleUnitFactor = kRadianFactor;
                else
                    return false;
            } else {
                if (value == kMillimetres)
                    rows.moveUnitFactor[key.row] = kMoveFactorMillimetres;
                else if (value == kMetres)
                    rows.moveUnitFactor[key.row] = kMoveFactorMetres;
                else
                    return false;
            }
            return true;
        case Kind::keep:
            if (value != "0" && value != "1") return false;
            rows.keepAttributes = value == "1";
            return true;
        case Kind::unknown:
            break;
    }
    return true;
}

// The lines of the section, each passed to take(key, value) until it says false.
template <class Take>
bool eachSectionLine(std::string_view file, Take&& takeLine) {
    if (file.size() > kMaxFileSize) return false;
    bool inSection = false;
    while (!file.empty()) {
        const std::size_t end = file.find('\n');
        std::string_view line = file.substr(0, end);
        file.remove_prefix(end == std::string_view::npos ? file.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        for (char c : line)
            if (isControl(static_cast<unsigned char>(c))) return false;  // not a text file
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            inSection = line.size() >= 2 && line.back() == ']' &&
                        line.substr(1, line.size() - 2) == kSection;
            continue;
        }
        if (!inSection) continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) return false;
        if (!takeLine(line.substr(0, eq), line.substr(eq + 1))) return false;
    }
    return true;
}

void addLine(std::string& out, const std::string& key, std::string_view value) {
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
}

}  // namespace

bool storableRows(const CopyInputs& rows) {
    for (int r = 0; r < kRowCount; ++r) {
        const char* text = rows.rowText[r];
        if (std::memchr(text, '\0', kRowTextSize) == nullptr) return false;
        if (!rowTextFits(r, text) || !sliderFits(rows.rowSlider[r])) return false;
    }
    return moveUnitName(rows.moveUnitFactor[0]) && moveUnitName(rows.moveUnitFactor[1]) &&
           angleUnitName(rows.angleUnitFactor);
}

std::string formatLastValues(const LastValues& values) {
    std::string out = std::string("[") + kSection + "]\r\n";
    const CopyInputs& rows = values.rows;
    if (!storableRows(rows)) return out;
    for (int r = 0; r < kRowCount; ++r) {
        const std::string key = kRowKeys[r];
        addLine(out, key, rows.rowText[r]);
        addLine(out, key + kSliderSuffix, std::to_string(rows.rowSlider[r]));
        if (r == kRowAngle)
            addLine(out, key + kUnitSuffix, angleUnitName(rows.angleUnitFactor));
        else if (r < kUnitRows)
            addLine(out, key + kUnitSuffix, moveUnitName(rows.moveUnitFactor[r]));
    }
    addLine(out, kLastKeepKey, rows.keepAttributes ? "1" : "0");
    return out;
}

namespace {

// The last values' lines as they are read: each key at most once, every row whole at the end.
struct LastRowsRead {
    CopyInputs& rows;
    bool seen[kRowCount][4] = {};  // text, slider, unit, keep
    bool any = false;

    // False for a line that damages the file; other keys are not the rows'.
    bool take(std::string_view name, std::string_view value) {
        const Key key = keyOf(name);
        if (key.kind == Kind::unknown) return true;
        bool& once = seen[key.row][static_cast<int>(key.kind)];
        if (once || !::take(key, value, rows)) return false;
        once = any = true;
        return true;
    }
    bool complete() const {
        for (int r = 0; r < kRowCount; ++r)
            if (!seen[r][0] || !seen[r][1] || (r < kUnitRows && !seen[r][2])) return false;
        return true;
    }
};

}  // namespace

bool parseLastValues(std::string_view file, LastValues& out) {
    LastValues read;
    LastRowsRead rows{read.rows};
    if (!eachSectionLine(file, [&](std::string_view name,
                                   std::string_view value) { return rows.take(name, value); }) ||
        !rows.complete())
        return false;
    out = read;
    return true;
}

bool parseKeepAttributes(std::string_view file) {
    bool keep = false;
    int seen = 0;
    eachSectionLine(file, [&](std::string_view name, std::string_view value) {
        if (name == kKeepKey) {
            keep = value == "1";
            ++seen;
        }
        return true;
    });
    return keep && seen == 1;
}

bool parseSettings(std::string_view file, Settings& out) {
    Settings read;
    int keepLines = 0;
    LastRowsRead rows{read.last.rows};
    const bool whole = eachSectionLine(file, [&](std::string_view name, std::string_view value) {
        if (name == kKeepKey) {
            read.keepAttributes = value == "1";
            return (value == "0" || value == "1") && ++keepLines == 1;
        }
        return rows.take(name, value);
    });
    if (!whole) return false;
    if (rows.any) {
        if (!rows.complete()) return false;
        read.hasLast = true;
    }
    out = read;
    return true;
}

std::string formatSettings(const Settings& settings) {
    std::string out =
        settings.hasLast ? formatLastValues(settings.last) : std::string("[") + kSection + "]\r\n";
    addLine(out, kKeepKey, settings.keepAttributes ? "1" : "0");
    return out;
}

namespace {

// The file's bytes, up to a little more than any file this program writes; false when it
// cannot be opened or read.
bool readFileText(const char* path, std::string& bytes) {
    std::FILE* file = openForReading(path);
    if (!file) return false;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && bytes.size() <= kMaxFileSize)
        bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

}  // namespace

Settings readSettings(const char* path) {
    Settings settings;
    std::string bytes;
    if (!readFileText(path, bytes)) return settings;
    parseSettings(bytes, settings);
    return settings;
}

bool writeSettings(const char* path, const Settings& settings) {
    // A read-only file is the drafter's wish to keep it; a directory cannot be replaced.
    const FileState state = exchangeFileState(path);
    if (state == FileState::readOnly || state == FileState::notAFile) return false;
    const std::string text = formatSettings(settings);
    std::string tempPath;
    std::FILE* temp = createTempBeside(path, tempPath);
    if (!temp) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), temp) == text.size();
    if (commitAndClose(temp) && written && replaceFile(tempPath.c_str(), path)) return true;
    removeFile(tempPath.c_str());
    return false;
}
