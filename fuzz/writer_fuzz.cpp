// Parameter evaluation and the result writer on arbitrary panel inputs, base points and
// figures. Every input is written into memory; a fixed share of them (chosen by the input's
// hash, so a saved input replays the same way) is also written into a real exchange file in
// a scratch directory, which is slow: permission bits, read-only files, directories and the
// temporary file are checked there.
//
// Input, one item per line:
//   six rows (move-x, move-y, angle, scale-x, scale-y, copies), each TEXT, TEXT@P, or "-" for
//   the start-up state the figure gives it;
//   the units, e.g. "mm m! rad" ('!': then press that unit button); the base point "X,Y";
//   what stands at the path: "file", "missing", "read-only" or "directory", and " keep" after
//   it to keep the attributes and the texts;
//   then the figure, as the exchange file's text.
// Every line ends in CR LF and the result reads back into copies x the figure's elements. On
// success the file holds what the stream writer writes; on failure the previous file is
// untouched. Either way no temporary file is left behind.

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch_options.h"
#include "app/panel_values.h"
#include "copyarray/output_count.h"
#include "copyarray/records_left_out.h"
#include "copyarray/writer.h"
#include "figure/decimal.h"
#include "figure/element_kinds.h"
#include "figure/reader.h"
#include "fuzz/fuzz_check.h"

namespace {

// Enough copies to reach the compounding of scales and turns (any scale text may overflow or
// underflow within them), few enough to stay fast; the written volume only costs time beyond
// a few copies of every kind of line.
constexpr int kFuzzMaxCopies = 20;
constexpr std::size_t kMaxWrittenElements = 100;
constexpr std::size_t kMaxFigureBytes = 1024;
// One input in this many goes through a real file as well; one in kReadBackShare has its
// result read back, which builds every circle's outline again.
constexpr uint64_t kFileShare = 32;
constexpr uint64_t kReadBackShare = 8;
// More than the longest result: kMaxWrittenElements lines (or one copy of a kMaxFigureBytes
// figure) of at most seven numbers each.
constexpr std::size_t kStreamBytes = 4u << 20;

enum class Mode { file, missing, readOnly, directory };

// Checking code is not instrumented for coverage: its branches tell the fuzzer nothing about
// where to look, and its line-by-line loops cost more than the writer's.
#define UNGUIDED __attribute__((no_sanitize("coverage")))

// A fresh directory on a RAM disk where there is one: the writer syncs every file.
const std::string& scratchDir() {
    static const std::string dir = [] {
        std::string base = "/tmp";
        if (const char* env = std::getenv("ZOVREL_FUZZ_TMP")) {
            base = env;
        } else if (access("/dev/shm", W_OK) == 0) {
            base = "/dev/shm";
        }
        std::string templ = base + "/zovrel-fuzz-writer-XXXXXX";
        FUZZ_CHECK(mkdtemp(templ.data()) != nullptr);
        static std::string made = templ;
        std::atexit([] {
            const std::string target = made + "/JWC_TEMP.TXT";
            chmod(target.c_str(), 0600);
            unlink(target.c_str());
            rmdir(target.c_str());
            rmdir(made.c_str());
        });
        return templ;
    }();
    return dir;
}

UNGUIDED std::vector<std::string> entries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    FUZZ_CHECK(d != nullptr);
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(d);
    return names;
}

// Into one reused string: a large buffer on the stack costs its poisoning on every call.
UNGUIDED const std::string& readFile(const std::string& path) {
    static std::string bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    FUZZ_CHECK(f != nullptr);
    bytes.clear();
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
    std::fclose(f);
    return bytes;
}

UNGUIDED void writeFile(const std::string& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(f != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    FUZZ_CHECK(std::fclose(f) == 0);
}

struct Input {
    BatchOptions options;    // the rows and units given; the rest keep the start-up state
    bool pressUnit[3] = {};  // then press the unit buttons of move-x, move-y, angle
    double baseX = 0.0, baseY = 0.0;
    Mode mode = Mode::file;
    std::string_view figureText;  // into the input, which outlives the run
};

std::string_view nextLine(std::string_view& rest) {
    const std::size_t nl = rest.find('\n');
    const std::string_view line = rest.substr(0, nl);
    rest = nl == std::string_view::npos ? std::string_view() : rest.substr(nl + 1);
    return line;
}

Input parseInput(std::string_view rest) {
    Input in;
    for (int r = 0; r < kRowCount; ++r) {
        std::string text(nextLine(rest));
        if (text == "-") continue;  // not given
        int slider = 100;
        const std::size_t at = text.rfind('@');
        if (at != std::string::npos && at + 1 < text.size() &&
            text.find_first_not_of("0123456789", at + 1) == std::string::npos) {
            // Sliders stop at their ends: any number is clamped into 0..100.
            slider = 0;
            for (std::size_t i = at + 1; i < text.size() && slider <= 100; ++i)
                slider = slider * 10 + (text[i] - '0');
            if (slider > 100) slider = 100;
            text.resize(at);
        }
        in.options.rows[r] = {true, text, text, slider};
    }
    // "mm", "m", "deg" or "rad" per button; a trailing '!' presses the button afterwards.
    const std::string_view units = nextLine(rest);
    int word = 0;
    for (std::size_t from = 0; from <= units.size() && word < 3; ++word) {
        std::size_t to = units.find(' ', from);
        if (to == std::string_view::npos) to = units.size();
        std::string_view w = units.substr(from, to - from);
        if (!w.empty() && w.back() == '!') {
            in.pressUnit[word] = true;
            w.remove_suffix(1);
        }
        if (word < 2) {
            if (w == "mm") in.options.moveUnitFactor[word] = kMoveFactorMillimetres;
            if (w == "m") in.options.moveUnitFactor[word] = kMoveFactorMetres;
        } else {
            if (w == "deg") in.options.angleUnitFactor = kDegreeFactor;
            if (w == "rad") in.options.angleUnitFactor = kRadianFactor;
        }
        from = to + 1;
    }
    const std::string base(nextLine(rest));
    const std::size_t comma = base.find(',');
    in.baseX = parseDecimal(base.c_str(),
                            base.c_str() + (comma == std::string::npos ? base.size() : comma));
    in.baseY = comma == std::string::npos ? 0.0 : parseDecimal(base.c_str() + comma + 1);
    std::string_view mode = nextLine(rest);
    constexpr std::string_view kKeep = " keep";
    if (mode.size() >= kKeep.size() && mode.substr(mode.size() - kKeep.size()) == kKeep) {
        in.options.keepAttributes = true;
        mode.remove_suffix(kKeep.size());
    }
    if (mode == "missing") in.mode = Mode::missing;
    if (mode == "read-only") in.mode = Mode::readOnly;
    if (mode == "directory") in.mode = Mode::directory;
    in.figureText = rest.substr(0, kMaxFigureBytes);
    return in;
}

bool validText(const char text[kRowTextSize]) {
    for (int i = 0; i < kRowTextSize; ++i)
        if (text[i] == '\0') return true;
    return false;
}

// The panel's inputs for this figure, as the batch tool builds them, then the unit buttons.
CopyInputs panelInputs(const Input& in, const Figure& figure) {
    CopyInputs inputs = batchInputs(in.options, figure);
    for (int r = 0; r < 2; ++r)
        if (in.pressUnit[r]) toggleMoveUnit(inputs.rowText[r], inputs.moveUnitFactor[r]);
    if (in.pressUnit[2]) toggleAngleUnit(inputs.rowText[kRowAngle], inputs.angleUnitFactor);
    for (int r = 0; r < kRowCount; ++r) {
        FUZZ_CHECK(validText(inputs.rowText[r]));
        FUZZ_CHECK(inputs.rowSlider[r] >= 0 && inputs.rowSlider[r] <= 100);
    }
    for (int r = 0; r < 2; ++r)
        FUZZ_CHECK(inputs.moveUnitFactor[r] == kMoveFactorMillimetres ||
                   inputs.moveUnitFactor[r] == kMoveFactorMetres);
    FUZZ_CHECK(inputs.angleUnitFactor == kDegreeFactor || inputs.angleUnitFactor == kRadianFactor);
    return inputs;
}

std::size_t elementCount(const Figure& f) {
    std::size_t n = 0;
    ElementKinds::each([&](auto kind) { n += decltype(kind)::list(f).size(); });
    for (const PolylineItem& p : f.polylines) n += p.segments.size();
    return n;
}

// Lowers the copies slider (the only way the panel has) until few enough copies are left;
// returns how many are left.
int limitCopies(CopyInputs& in, const Figure& figure) {
    const CopyParameters p = evaluateCopyParameters(in);
    FUZZ_CHECK(p.copies >= 0 && p.copies <= kMaxCopies);
    FUZZ_CHECK(!p.copiesClamped || p.copies == kMaxCopies);
    const std::size_t elements = elementCount(figure);
    int most = kFuzzMaxCopies;
    if (elements > 0 && kMaxWrittenElements / elements < static_cast<std::size_t>(most))
        most = kMaxWrittenElements / elements > 0 ? static_cast<int>(kMaxWrittenElements / elements)
                                                  : 1;
    int copies = p.copies;
    for (; copies > most; copies = evaluateCopyParameters(in).copies)
        in.rowSlider[kRowCopies] = in.rowSlider[kRowCopies] * most / copies;
    return copies;
}

// The seven-number fields of a copy of c read back to an accepted line when its angles are
// moderate and its sweep is non-negative and clear of the outline limit.
bool readsBack(const CircleItem& c) {
    const double sweep = c.endAngle - c.startAngle;
    return c.isThreeNumberCircle() ||
           (sweep >= 0.0 && sweep * kReaderSegmentsPerRadian < kMaxOutlineSegments - 10 &&
            std::fabs(c.startAngle) < 1e3 && std::fabs(c.endAngle) < 1e3);
}

struct Counts {
    std::size_t segments = 0, polylines = 0, ends = 0, circles = 0, points = 0;
    std::size_t texts = 0, solids = 0, dimensions = 0, blocks = 0, attributes = 0;
    bool operator==(const Counts& o) const {
        return segments == o.segments && polylines == o.polylines && ends == o.ends &&
               circles == o.circles && points == o.points && texts == o.texts &&
               solids == o.solids && dimensions == o.dimensions && blocks == o.blocks;
    }
};

// Checks the line ends and counts the lines by kind; false when a line is longer than a piece.
UNGUIDED bool countLines(std::string_view bytes, Counts& counts) {
    bool fitsPieces = true;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t nl = bytes.find('\n', start);
        FUZZ_CHECK(nl != std::string::npos && nl > start && bytes[nl - 1] == '\r');
        const std::string_view line(bytes.data() + start, nl + 1 - start);
        start = nl + 1;
        if (line.size() > kMaxPieceBytes) fitsPieces = false;
        // Texts, block names and attribute lines are the host's bytes, kept as they were, a CR
        // included.
        if (TextKind::starts(line)) {
            ++counts.texts;
            continue;
        }
        if (BlockKind::starts(line)) {
            ++counts.blocks;
            continue;
        }
        if (attributeKeyOf(line) != kAttributeKeys) {
            ++counts.attributes;
            continue;
        }
        FUZZ_CHECK(line.find('\r') == line.size() - 2);
        if (line[0] == ' ') {
            ++counts.segments;
        } else if (line == "pl\r\n") {
            ++counts.polylines;
        } else if (line == "#\r\n") {
            ++counts.ends;
        } else if (line == "msg\r\n") {
            ++counts.dimensions;
        } else if (line.substr(0, 3) == "ci ") {
            ++counts.circles;
        } else if (line.substr(0, 3) == "pt ") {
            ++counts.points;  // a point or a marker
        } else if (line.substr(0, 3) == "sl ") {
            ++counts.solids;
        } else {
            FUZZ_CHECK(!"a line of an unknown kind");
        }
    }
    return fitsPieces;
}

// What one copy writes: with the attributes, the optional kinds, and the groups it takes with
// their elements (a dimension of a known shape always, a block reference where the copy only
// moves); a group it leaves out leaves out its elements too.
UNGUIDED Counts perCopy(const Figure& f, bool keep, bool blocks) {
    Counts c;
    c.segments = f.lines.size();
    for (const PolylineItem& p : f.polylines) c.segments += p.segments.size();
    c.polylines = f.polylines.size();
    c.circles = f.circles.size();
    c.points = f.points.size();
    if (keep) {
        c.texts = f.texts.size();
        c.solids = f.solids.size();
        c.points += f.markers.size();
        for (const auto* groups : {&f.dimensions, &f.blocks})
            for (const GroupItem& g : *groups) {
                if (g.known && (groups == &f.dimensions || blocks)) {
                    ++(groups == &f.dimensions ? c.dimensions : c.blocks);
                    continue;
                }
                std::size_t taken[kFigureKinds] = {};
                for (uint8_t k : g.order) {
                    const std::size_t i = g.first[k] + taken[k]++;
                    if (k == ElementKinds::index<SegmentKind>()) --c.segments;
                    if (k == ElementKinds::index<PolylineKind>()) {
                        --c.polylines;
                        c.segments -= f.polylines[i].segments.size();
                    }
                    if (k == ElementKinds::index<CircleKind>()) --c.circles;
                    if (k == ElementKinds::index<PointKind>()) --c.points;
                    if (k == ElementKinds::index<MarkerKind>()) --c.points;
                    if (k == ElementKinds::index<TextKind>()) --c.texts;
                    if (k == ElementKinds::index<SolidKind>()) --c.solids;
                }
            }
    }
    c.ends = c.polylines + c.dimensions + c.blocks;
    return c;
}

UNGUIDED void checkWritten(std::string_view bytes, const Figure& figure,
                           const CopyParameters& params, bool readBack) {
    const bool keep = params.keepAttributes;
    const std::size_t n = static_cast<std::size_t>(params.copies);
    const std::size_t moving = static_cast<std::size_t>(movesOnlyCopies(params));
    const Counts withBlocks = perCopy(figure, keep, true);
    const Counts without = perCopy(figure, keep, false);
    Counts want;
    for (std::size_t Counts::*field :
         {&Counts::segments, &Counts::polylines, &Counts::ends, &Counts::circles, &Counts::points,
          &Counts::texts, &Counts::solids, &Counts::dimensions, &Counts::blocks})
        want.*field = moving * (withBlocks.*field) + (n - moving) * (without.*field);
    Counts counts;
    const bool fitsPieces = countLines(bytes, counts);
    FUZZ_CHECK(counts == want);
    FUZZ_CHECK(counts.attributes == 0 || (keep && figure.attributes.any()));
    if (!fitsPieces || !readBack) return;  // a longer line is cut into pieces, by design

    Figure back;  // bytes holds the file; loadFigure's own reading is the reader's to test
    loadFigureFromMemory(bytes.data(), bytes.size(), back);
    FUZZ_CHECK(back.points.size() + back.markers.size() == want.points);
    FUZZ_CHECK(back.texts.size() == want.texts);
    FUZZ_CHECK(back.solids.size() == want.solids);
    FUZZ_CHECK(back.polylines.size() == want.polylines);
    std::size_t segments = back.lines.size();
    for (const PolylineItem& p : back.polylines) segments += p.segments.size();
    FUZZ_CHECK(segments == want.segments);
    // In their order, unless groups take some of them to their own places.
    if (figure.dimensions.empty() && figure.blocks.empty()) {
        for (std::size_t i = 0; i < back.polylines.size(); ++i)
            FUZZ_CHECK(back.polylines[i].segments.size() ==
                       figure.polylines[i % figure.polylines.size()].segments.size());
    }
    bool allReadBack = true;
    for (const CircleItem& c : figure.circles) allReadBack = allReadBack && readsBack(c);
    if (allReadBack) {
        FUZZ_CHECK(back.circles.size() == want.circles);
    } else {
        FUZZ_CHECK(back.circles.size() <= want.circles);
    }
}

}  // namespace

namespace {

UNGUIDED uint64_t hashOf(const uint8_t* data, std::size_t size) {
    uint64_t h = 1469598103934665603ull;
    for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

// The stream writer into one memory stream, opened once and rewound for every input; ok and
// error as it returned them.
std::string_view writeToMemory(const Figure& figure, const Input& in, const CopyInputs& inputs,
                               int& ok, WriteError& error) {
    static std::vector<char> buffer(kStreamBytes);
    static std::FILE* const stream = [] {
        std::FILE* f = fmemopen(buffer.data(), buffer.size(), "wb");
        FUZZ_CHECK(f != nullptr);
        // The writer buffers already; a second buffer would only copy the bytes again.
        FUZZ_CHECK(std::setvbuf(f, nullptr, _IONBF, 0) == 0);
        return f;
    }();
    std::rewind(stream);
    CopyArray copies;
    copies.baseX = in.baseX;
    copies.baseY = in.baseY;
    error = WriteError::none;
    ok =
        writeResultToStream(figure, copies, evaluateCopyParameters(inputs), stream, &error) ? 1 : 0;
    const long size = std::ftell(stream);
    FUZZ_CHECK(!std::ferror(stream));
    FUZZ_CHECK(size >= 0 && static_cast<std::size_t>(size) < buffer.size());
    FUZZ_CHECK(ok ? error == WriteError::none : error == WriteError::notRepresentable);
    // The readout's verdict is the writer's, and a bounded one never contradicts it.
    const CopyParameters params = evaluateCopyParameters(inputs);
    const FigureReach reach = figureReach(figure);
    FUZZ_CHECK(copiesRepresentable(figure, reach, copies, params) == (ok == 1));
    const WriteVerdict bounded = writeVerdict(figure, reach, copies, params, kVerdictBudget);
    FUZZ_CHECK(bounded == WriteVerdict::unknown || (bounded == WriteVerdict::writes) == (ok == 1));
    return std::string_view(buffer.data(), static_cast<std::size_t>(size));
}

// The real writer on a real file standing at the path as in.mode says; the result must be
// streamed (or its failure) and nothing else may stay in the directory.
UNGUIDED void checkRealFile(const Figure& figure, const Input& in, const CopyInputs& inputs,
                            std::string_view streamed, int streamOk, WriteError streamError) {
    const std::string& dir = scratchDir();
    const std::string path = dir + "/JWC_TEMP.TXT";
    if (in.mode == Mode::file || in.mode == Mode::readOnly) {
        writeFile(path, in.figureText);
        FUZZ_CHECK(chmod(path.c_str(), in.mode == Mode::readOnly ? 0440 : 0640) == 0);
    }
    if (in.mode == Mode::directory) FUZZ_CHECK(mkdir(path.c_str(), 0755) == 0);

    CopyArray copies;
    copies.baseX = in.baseX;
    copies.baseY = in.baseY;
    WriteError error = WriteError::none;
    const int ok =
        writeResult(figure, copies, evaluateCopyParameters(inputs), path.c_str(), &error) ? 1 : 0;

    std::vector<std::string> expectedEntries;
    switch (in.mode) {
        case Mode::readOnly:
            FUZZ_CHECK(!ok && error == WriteError::readOnly);
            FUZZ_CHECK(readFile(path) == in.figureText);
            expectedEntries = {"JWC_TEMP.TXT"};
            break;
        case Mode::directory: {
            FUZZ_CHECK(!ok && error == WriteError::notAFile);
            struct stat st {};
            FUZZ_CHECK(stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
            FUZZ_CHECK(entries(path).empty());
            expectedEntries = {"JWC_TEMP.TXT"};
            break;
        }
        case Mode::file:
        case Mode::missing: {
            FUZZ_CHECK(ok == streamOk && error == streamError);
            struct stat st {};
            if (ok) {
                FUZZ_CHECK(readFile(path) == streamed);
                FUZZ_CHECK(stat(path.c_str(), &st) == 0);
                FUZZ_CHECK((st.st_mode & 07777) == (in.mode == Mode::file ? 0640u : 0644u));
            } else if (in.mode == Mode::file) {
                FUZZ_CHECK(readFile(path) == in.figureText);
            } else {
                FUZZ_CHECK(stat(path.c_str(), &st) != 0);
            }
            if (ok || in.mode == Mode::file) expectedEntries = {"JWC_TEMP.TXT"};
            break;
        }
    }
    FUZZ_CHECK(entries(dir) == expectedEntries);

    chmod(path.c_str(), 0600);
    unlink(path.c_str());
    rmdir(path.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const Input in = parseInput(std::string_view(reinterpret_cast<const char*>(data), size));
    Figure figure;
    loadFigureFromMemory(in.figureText.data(), in.figureText.size(), figure);
    CopyInputs inputs = panelInputs(in, figure);
    limitCopies(inputs, figure);

    int ok = 0;
    WriteError error = WriteError::none;
    const std::string_view streamed = writeToMemory(figure, in, inputs, ok, error);
    const uint64_t hash = hashOf(data, size);
    if (ok)
        checkWritten(streamed, figure, evaluateCopyParameters(inputs),
                     hash / kFileShare % kReadBackShare == 0);
    if (hash % kFileShare == 0) checkRealFile(figure, in, inputs, streamed, ok, error);
    return 0;
}
