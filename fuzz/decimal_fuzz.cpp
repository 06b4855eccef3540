// The number reader and the "%lf" writer on arbitrary text. The reader never takes or reads a
// byte beyond what it is allowed to, agrees with glibc's strtod wherever strtod follows the
// same rules (no hexadecimal, no inf/nan words), and re-reads what formatLf writes to within
// the six decimals; formatLf writes exactly what glibc writes with the fixed six-decimal format.

#include <cerrno>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "figure/decimal.h"
#include "fuzz/fuzz_check.h"
#include "tests/glibc_reference.h"

namespace {

// The words and prefixes strtod reads but the project's reader does not.
bool strtodAgrees(const std::string& s) {
    return s.find_first_of("xXiInN") == std::string::npos;
}

void checkFormat(double v) {
    // Exactly the longest text formatLf may write, so one byte more is caught.
    std::unique_ptr<char[]> out(new char[kMaxLfChars]);
    const std::size_t n = formatLf(v, out.get());
    FUZZ_CHECK(n >= 8 && n <= kMaxLfChars);
    const std::string written(out.get(), n);
    FUZZ_CHECK(written == glibcFixedSix(v));
    // Digits go out as eight-byte words: into exactly n bytes, none may land past the text.
    std::unique_ptr<char[]> exact(new char[n]);
    FUZZ_CHECK(formatLf(v, exact.get()) == n && std::memcmp(exact.get(), out.get(), n) == 0);

    const char* end = nullptr;
    const double back = parseDecimal(written.data(), written.data() + n, &end);
    FUZZ_CHECK(end == written.data() + n);
    // Six decimals: off by at most half a unit of the last one, plus the rounding of back.
    FUZZ_CHECK(std::fabs(back - v) <= 5e-7 + std::fabs(v) * DBL_EPSILON);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The first byte chooses where the number must end; the reader may look at (but never
    // take) the bytes after it, up to the end of the allocation.
    if (size == 0) return 0;
    const std::size_t textSize = size - 1;
    std::unique_ptr<char[]> buffer(new char[textSize == 0 ? 1 : textSize]);
    std::memcpy(buffer.get(), data + 1, textSize);
    const char* first = buffer.get();
    const char* readable = first + textSize;
    const char* last = first + (textSize == 0 ? 0 : data[0] % (textSize + 1));

    const char* end = nullptr;
    const double v = parseDecimal(first, last, &end);
    FUZZ_CHECK(end >= first && end <= last);
    FUZZ_CHECK(!std::isnan(v));
    if (end == first) FUZZ_CHECK(sameBits(v, 0.0));

    // Peeking at bytes up to readable changes nothing.
    const char* endPeeking = nullptr;
    const double peeking = parseDecimal(first, last, readable, &endPeeking);
    FUZZ_CHECK(endPeeking == end && sameBits(peeking, v));

    // The prefix alone reads the same: nothing after end mattered.
    const char* endPrefix = nullptr;
    FUZZ_CHECK(sameBits(parseDecimal(first, end, &endPrefix), v) && endPrefix == end);

    // glibc's strtod on the same text, cut at its first NUL.
    const std::string text(first, last);
    const std::string cText = text.substr(0, text.find('\0'));
    if (static_cast<std::size_t>(end - first) <= cText.size()) {
        FUZZ_CHECK(sameBits(parseDecimal(cText.c_str()), v));
        if (strtodAgrees(cText)) {
            char* strtodEnd = nullptr;
            errno = 0;
            const double expected = glibcRead(cText.c_str(), &strtodEnd);
            FUZZ_CHECK(strtodEnd - cText.c_str() == end - first);
            FUZZ_CHECK(sameBits(expected, v));
        }
    }

    if (std::isfinite(v)) checkFormat(v);
    return 0;
}
