#include "copyarray/output_size.h"

#include <cstddef>

#include "copyarray/line_output.h"

namespace {

// Lines sampled in each of a few copies: enough that the mean of a drawing's mix of kinds is
// within a few per cent, few enough to take well under a millisecond.
constexpr int kSampledCopies = 8;
constexpr std::size_t kSampledLines = 96;
// No line is longer than this on average: 7 numbers of 20 characters and a few attribute lines.
constexpr double kMostLineBytes = 400.0;

}  // namespace

void OutputSize::setFigure(const Figure& f) {
    figure = &f;
    layouts[0].reset();
    layouts[1].reset();
}

double OutputSize::estimate(const CopyArray& copies, const CopyParameters& params, double least) {
    if (!figure || params.copies <= 0) return 0.0;
    std::unique_ptr<CopyLayout>& layout = layouts[params.keepAttributes ? 1 : 0];
    if (!layout) {
        layout = std::make_unique<CopyLayout>(*figure, true, params.keepAttributes);
        layout->planAttributes();
    }
    const std::size_t perCopy = layout->perCopy;
    const double lines = static_cast<double>(perCopy) * params.copies;
    const double strings = static_cast<double>(layout->stringBytesBefore.back()) * params.copies;
    if (lines * kMostLineBytes + strings < least) return 0.0;
    // Copies spread from the first to the last: the moves and scales grow or shrink the numbers
    // from one to the next.
    const int sampledCopies = params.copies < kSampledCopies ? params.copies : kSampledCopies;
    const std::size_t samples = perCopy < kSampledLines ? perCopy : kSampledLines;
    OutputBuffer out(nullptr, true);
    double sampled = 0.0;
    CopySteps steps(params);
    for (int j = 0, k = 0; j < sampledCopies; ++j) {
        const int wanted =
            sampledCopies == 1 ? 1 : 1 + j * (params.copies - 1) / (sampledCopies - 1);
        CopyStep step;
        while (k < wanted) {
            step = steps.next();
            ++k;
        }
        const Matrix3 m = copies.copyMatrix(params, step);
        for (std::size_t s = 0; s < samples; ++s) {
            const std::size_t line = (2 * s + 1) * perCopy / (2 * samples);
            out.used = 0;
            if (!layout->put(out, m, step, line, line + 1)) return 0.0;  // nothing is written
            // The strings are counted whole below: one long text must not stand for many.
            const std::size_t string =
                layout->stringBytesBeforeLine(line + 1) - layout->stringBytesBeforeLine(line);
            sampled += static_cast<double>(out.used - string);
        }
    }
    return sampled / static_cast<double>(samples * static_cast<std::size_t>(sampledCopies)) *
               lines +
           strings;
}
