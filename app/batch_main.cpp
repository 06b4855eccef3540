// zovrel-batch: the exchange-file round trip of the completion button, without a window.

#include <cstdio>
#include <string>

#include "app/batch_options.h"
#include "copyarray/records_left_out.h"
#include "copyarray/writer.h"
#include "figure/exchange_io.h"
#include "figure/reader.h"

namespace {

enum ExitCode { kWritten = 0, kCannotOpen = 1, kUsage = 2, kNotWritten = 3 };

// Why a kind of record is left out, in a few words.
const char* reason(const LeftOut& left) {
    switch (left.why) {
        case LeftOut::notKept:
            return "--keep-attributes copies it";
        case LeftOut::turnedCopies:
            return "a block reference goes only into the copies that only move";
        case LeftOut::neverCopied:
            break;
    }
    return "no copy can take it";
}

// Windows hands a console program its arguments in the system's code page, Shift-JIS as a box
// holds them on a Japanese Windows; the other systems in UTF-8.
#ifdef _WIN32
constexpr bool kUtf8Arguments = false;
#else
constexpr bool kUtf8Arguments = true;
#endif

}  // namespace

int main(int argc, char** argv) {
    BatchOptions options;
    std::string error;
    if (!parseBatchOptions(argc, argv, options, error, kUtf8Arguments)) {
        std::fprintf(stderr, "zovrel-batch: %s (see zovrel-batch --help)\n", error.c_str());
        return kUsage;
    }
    if (options.help) {
        std::fputs(batchUsage(), stdout);
        return kWritten;
    }
    if (options.version) {
        std::printf("zovrel-batch %s\n", zovrelVersion());
        return kWritten;
    }
    Figure figure;
    if (!loadFigure(options.file.c_str(), figure, options.threads)) {
        std::fprintf(stderr, "zovrel-batch: cannot open %s\n", options.file.c_str());
        return kCannotOpen;
    }
    const std::string notes = batchReadingNotes(options);
    for (std::size_t at = 0; at < notes.size();) {
        const std::size_t end = notes.find('\n', at);
        std::fprintf(stderr, "zovrel-batch: note: %s\n", notes.substr(at, end - at).c_str());
        at = end + 1;
    }
    // The rows as the panel would hold them, evaluated once, as the window's model does.
    const CopyParameters params = evaluateCopyParameters(batchInputs(options, figure));
    if (params.copiesClamped)
        std::fprintf(stderr, "zovrel-batch: note: the copy count was clamped to %d\n", kMaxCopies);
    CopyArray copies;
    copies.baseX = options.baseX;
    copies.baseY = options.baseY;
    WriteError why = WriteError::none;
    bool written;
    const bool toStdout = options.output == "-";
    const std::string& target = options.output.empty() ? options.file : options.output;
    if (toStdout) {
        setBinaryStdout();
        written = writeResultToStream(figure, copies, params, stdout, &why, options.threads);
    } else {
        written = writeResult(figure, copies, params, target.c_str(), &why, options.threads);
    }
    if (!written) {
        std::fprintf(stderr, "zovrel-batch: nothing written to %s: %s\n",
                     toStdout ? "standard output" : target.c_str(), describeWriteError(why));
        return kNotWritten;
    }
    // What the written copies lack, kind by kind: nothing is dropped without a word.
    for (const LeftOut& left : recordsLeftOut(RecordTally(figure), params))
        std::fprintf(stderr, "zovrel-batch: not copied: %s %zu (%s)\n", left.tag.c_str(),
                     left.count, reason(left));
    return kWritten;
}
