#include "app/batch_options.h"

#include <cmath>
#include <cstring>

#include "app/panel_values.h"
#include "figure/decimal.h"
#include "figure/expression.h"
#include "zovrel_version.h"

const char* zovrelVersion() {
    return ZOVREL_VERSION;
}

const char* batchUsage() {
    return "Usage: zovrel-batch [OPTIONS] [FILE]\n"
           "\n"
           "Reads the exchange file FILE (default JWC_TEMP.TXT) as Zovrel does at start-up and\n"
           "replaces it with the copies, exactly as the completion button does. The file is\n"
           "replaced in one step: on any failure it stays as it was.\n"
           "\n"
           "Rows (TEXT as typed in the panel, P the slider position 0-100, default 100; a TEXT "
           "read\n"
           "only in part is noted, one over 127 bytes or not a finite number is a usage error):\n"
           "  --move-x TEXT[@P]     horizontal move per copy   (start-up: 1.2 x width, at 100)\n"
           "  --move-y TEXT[@P]     vertical move per copy     (start-up: 1.2 x height, at 0)\n"
           "  --angle TEXT[@P]      rotation per copy          (start-up: 90, at 0)\n"
           "  --scale-x TEXT[@P]    horizontal scale per copy  (start-up: 1.0, at 100)\n"
           "  --scale-y TEXT[@P]    vertical scale per copy    (start-up: 1.0, at 100)\n"
           "  --copies TEXT[@P]     number of copies           (start-up: 20, at 100)\n"
           "Units:\n"
           "  --move-x-unit mm|m    unit of the move-x text (default mm when the text is given)\n"
           "  --move-y-unit mm|m    unit of the move-y text\n"
           "  --angle-unit deg|rad  unit of the angle text (default deg)\n"
           "Other:\n"
           "  --base X,Y            base point of scaling and rotation (default 0,0)\n"
           "  --keep-attributes     the copies keep each element's layer group, layer, colour,\n"
           "                        line type and width, text type and font, point type, and\n"
           "                        the texts, solids, markers, dimensions and (in copies that\n"
           "                        only move) block references; the host's write settings are\n"
           "                        set back after the last copy. What the copies leave out is\n"
           "                        named on stderr after writing, one line per kind\n"
           "  -o PATH               write to PATH instead of FILE; '-' writes to standard output\n"
           "  --threads N           threads for reading and writing (default 0: one per core);\n"
           "                        the result is the same for any number\n"
           "  -h, --help            show this help\n"
           "  --version             show the version\n"
           "\n"
           "Exit status: 0 written, 1 FILE cannot be opened, 2 usage error,\n"
           "3 nothing written (writing failed, or a number is not representable).\n";
}

namespace {

// How an option's value is read, and where it goes.
enum class Reads {
    flag,       // no value: `target` names the flag
    row,        // TEXT[@P] into row `target`
    moveUnit,   // mm|m for move row `target`
    angleUnit,  // deg|rad
    point,      // X,Y: the base point
    threads,    // 0..64
    path,       // the output path
};

enum Flag { kHelp, kVersion, kKeepAttributes };

struct OptionEntry {
    const char* name;
    Reads reads;
    int target;
};

constexpr OptionEntry kOptions[] = {
    {"--move-x", Reads::row, kRowMoveX},
    {"--move-y", Reads::row, kRowMoveY},
    {"--angle", Reads::row, kRowAngle},
    {"--scale-x", Reads::row, kRowScaleX},
    {"--scale-y", Reads::row, kRowScaleY},
    {"--copies", Reads::row, kRowCopies},
    {"--move-x-unit", Reads::moveUnit, kRowMoveX},
    {"--move-y-unit", Reads::moveUnit, kRowMoveY},
    {"--angle-unit", Reads::angleUnit, 0},
    {"--base", Reads::point, 0},
    {"--threads", Reads::threads, 0},
    {"-o", Reads::path, 0},
    {"--output", Reads::path, 0},
    {"-h", Reads::flag, kHelp},
    {"--help", Reads::flag, kHelp},
    {"--version", Reads::flag, kVersion},
    {"--keep-attributes", Reads::flag, kKeepAttributes},
};

const OptionEntry* findOption(const std::string& name) {
    for (const OptionEntry& entry : kOptions)
        if (name == entry.name) return &entry;
    return nullptr;
}

bool parseSlider(const std::string& text, int& slider) {
    if (text.empty() || text.size() > 3) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v > 100) return false;
    slider = v;
    return true;
}

bool parseWholeNumber(const std::string& text, double& value) {
    const char* end = nullptr;
    const char* first = text.c_str();
    const char* last = first + text.size();
    value = parseDecimal(first, last, &end);
    return !text.empty() && end == last && std::isfinite(value);
}

bool parseRow(const std::string& value, BatchRow& row) {
    row.given = true;
    row.slider = 100;
    const std::size_t at = value.rfind('@');
    if (at == std::string::npos) {
        row.typed = value;
        return true;
    }
    row.typed = value.substr(0, at);
    return parseSlider(value.substr(at + 1), row.slider);
}

// The row's text as a box would hold it; false with error set where no box could.
bool takeRowText(const std::string& name, int r, bool utf8, BatchRow& row, std::string& error) {
    row.text = utf8 ? fullWidthFromUtf8(row.typed) : row.typed;
    const std::string quoted = name + " \"" + row.typed + "\"";
    if (wholeCharacters(row.text.data(), row.text.size(), kRowTextSize - 1) < row.text.size()) {
        error = "the text of " + quoted + " does not fit a value box (127 bytes, whole characters)";
        return false;
    }
    if (readRowText(r, row.text.c_str()).how == RowRead::notFinite) {
        error =
            "the text of " + quoted + " is not a finite number (a division by zero, or too large)";
        return false;
    }
    return true;
}

void setFlag(int flag, BatchOptions& options) {
    switch (flag) {
        case kHelp:
            options.help = true;
            break;
        case kVersion:
            options.version = true;
            break;
        case kKeepAttributes:
            options.keepAttributes = true;
            break;
    }
}

// Takes the value of an option that has one; false with error set when it cannot.
bool readValue(const OptionEntry& entry, const std::string& name, const std::string& value,
               bool utf8, BatchOptions& options, std::string& error) {
    switch (entry.reads) {
        case Reads::flag:
            break;
        case Reads::row:
            if (!parseRow(value, options.rows[entry.target])) {
                error =
                    "slider position of " + name + " must be an integer from 0 to 100: " + value;
                return false;
            }
            return takeRowText(name, entry.target, utf8, options.rows[entry.target], error);
        case Reads::moveUnit: {
            int& factor = options.moveUnitFactor[entry.target];
            if (value == "mm") factor = kMoveFactorMillimetres;
            if (value == "m") factor = kMoveFactorMetres;
            if (value == "mm" || value == "m") return true;
            error = "unit of " + name + " must be mm or m: " + value;
            return false;
        }
        case Reads::angleUnit:
            if (value == "deg") options.angleUnitFactor = kDegreeFactor;
            if (value == "rad") options.angleUnitFactor = kRadianFactor;
            if (value == "deg" || value == "rad") return true;
            error = "unit of --angle-unit must be deg or rad: " + value;
            return false;
        case Reads::point: {
            const std::size_t comma = value.find(',');
            if (comma != std::string::npos &&
                parseWholeNumber(value.substr(0, comma), options.baseX) &&
                parseWholeNumber(value.substr(comma + 1), options.baseY))
                return true;
            error = "base point must be two numbers X,Y: " + value;
            return false;
        }
        case Reads::threads:
            if (parseSlider(value, options.threads) && options.threads <= 64) return true;
            error = "--threads must be an integer from 0 to 64: " + value;
            return false;
        case Reads::path:
            if (value.empty()) {
                error = "output path is empty";
                return false;
            }
            options.output = value;
            return true;
    }
    return true;
}

}  // namespace

bool parseBatchOptions(int argc, const char* const* argv, BatchOptions& options, std::string& error,
                       bool utf8Arguments) {
    bool fileGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() < 2 || arg[0] != '-') {
            if (fileGiven) {
                error = "more than one FILE given: " + arg;
                return false;
            }
            options.file = arg;
            fileGiven = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        const std::size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        const OptionEntry* entry = findOption(name);
        if (!entry || (entry->reads == Reads::flag && hasValue)) {
            error = "unknown option: " + arg;
            return false;
        }
        if (entry->reads == Reads::flag) {
            setFlag(entry->target, options);
            continue;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error = "option " + name + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!readValue(*entry, name, value, utf8Arguments, options, error)) return false;
    }
    return true;
}

std::string batchReadingNotes(const BatchOptions& options) {
    std::string notes;
    for (const OptionEntry& entry : kOptions) {
        if (entry.reads != Reads::row) continue;
        const BatchRow& row = options.rows[entry.target];
        if (!row.given) continue;
        const RowReading reading = readRowText(entry.target, row.text.c_str());
        if (reading.how != RowRead::partial) continue;
        char shown[kRowTextSize];
        formatConverted(reading.value, 0, shown);
        notes += std::string("the text of ") + entry.name + " \"" + row.typed +
                 "\" was read in part, as " + shown + "\n";
    }
    return notes;
}

CopyInputs batchInputs(const BatchOptions& options, const Figure& figure) {
    const Extents e = figure.extents();
    CopyInputs in = startupInputs(e.maxX - e.minX, e.maxY - e.minY);
    for (int r = 0; r < kRowCount; ++r) {
        const BatchRow& row = options.rows[r];
        if (!row.given) continue;
        in.setText(r, row.text.c_str());
        in.rowSlider[r] = row.slider;
        if (r == kRowMoveX || r == kRowMoveY) in.moveUnitFactor[r] = kMoveFactorMillimetres;
    }
    for (int r = 0; r < 2; ++r)
        if (options.moveUnitFactor[r] != 0) in.moveUnitFactor[r] = options.moveUnitFactor[r];
    if (options.angleUnitFactor != 0.0) in.angleUnitFactor = options.angleUnitFactor;
    in.keepAttributes = options.keepAttributes;
    return in;
}
