#include "figure/reader.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "figure/element_kinds.h"
#include "figure/exchange_io.h"
#include "figure/workers.h"

namespace {

// Below this a part is not worth a thread.
constexpr std::size_t kMinPartBytes = 1 << 18;

template <class T>
void reserveFor(std::vector<T>& items, double scale) {
    items.reserve(static_cast<std::size_t>(static_cast<double>(items.size()) * scale));
}

}  // namespace

void FigureReader::readWholeLines(const char* p, const char* end) {
    const std::size_t bytes = static_cast<std::size_t>(end - p);
    std::size_t count = static_cast<std::size_t>(workerThreads(threads));
    if (count > bytes / kMinPartBytes) count = bytes / kMinPartBytes;
    consumed += bytes;
    const double wholeScale =
        expectedBytes > consumed ? 1.2 * static_cast<double>(expectedBytes) / consumed : 0.0;
    if (count >= 2) {
        parallel.read(records, p, end, static_cast<int>(count), wholeScale);
        return;
    }
    readPieces(p, end, records);
    if (!sized && wholeScale > 1.0) {
        // Sized once from the first chunk, so the lists do not grow by copying.
        Figure& f = records.figure;
        ElementKinds::each([&](auto kind) {
            if (!decltype(kind)::kOptional) reserveFor(decltype(kind)::list(f), wholeScale);
        });
        sized = true;
    }
}

void FigureReader::feed(const char* data, std::size_t size) {
    const char* p = data;
    const char* const end = data + size;
    if (carryLength > 0) {
        // Complete the piece begun in the previous chunk.
        while (p != end && carryLength < kMaxPieceBytes) {
            const char c = *p++;
            carry[carryLength++] = c;
            if (c == '\n') break;
        }
        const bool complete = carry[carryLength - 1] == '\n' || carryLength == kMaxPieceBytes;
        if (!complete) return;
        records.readPiece(std::string_view(carry, carryLength));
        carryLength = 0;
    }
    const char* lastBreak = end;
    while (lastBreak != p && lastBreak[-1] != '\n') --lastBreak;
    if (lastBreak != p) {
        readWholeLines(p, lastBreak);
        p = lastBreak;
    }
    p = readPieces(p, end, records);
    const std::size_t rest = static_cast<std::size_t>(end - p);
    if (rest > 0) std::memcpy(carry, p, rest);  // an empty chunk may come without a buffer
    carryLength = rest;
}

void FigureReader::finish() {
    if (carryLength > 0) records.readPiece(std::string_view(carry, carryLength));
    carryLength = 0;
    records.finish();
}

void loadFigureFromMemory(const char* data, std::size_t size, Figure& figure, int threads) {
    FigureReader reader(figure, threads);
    reader.expectedBytes = size;
    reader.feed(data, size);
    reader.finish();
}

namespace {

// 0 when unknown; only a hint for sizing.
std::size_t sizeOfFile(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return 0;
    const long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return 0;
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

}  // namespace

bool loadFigure(const char* path, Figure& figure, int threads) {
    std::FILE* file = openForReading(path);
    if (!file) return false;
    FigureReader reader(figure, threads);
    reader.expectedBytes = sizeOfFile(file);
    constexpr std::size_t kChunkBytes = std::size_t{4} << 20;
    const std::unique_ptr<char[]> chunk(new char[kChunkBytes]);  // no zeroing: fread fills it
    for (;;) {
        const std::size_t got = std::fread(chunk.get(), 1, kChunkBytes, file);
        if (got > 0) reader.feed(chunk.get(), got);
        if (got < kChunkBytes) break;  // end of file or a read error: keep what was read
    }
    reader.finish();
    std::fclose(file);
    return true;
}
