#include "figure/line_cutting.h"

#include <cstring>
#include <string_view>

#include "figure/record_reader.h"

const char* readPieces(const char* p, const char* const end, RecordReader& reader) {
    reader.readable = end;
    while (p != end) {
        const std::size_t available = static_cast<std::size_t>(end - p);
        const std::size_t limit = available < kMaxPieceBytes ? available : kMaxPieceBytes;
        const void* newline = std::memchr(p, '\n', limit);
        if (newline) {
            const char* next = static_cast<const char*>(newline) + 1;
            reader.readPiece(std::string_view(p, static_cast<std::size_t>(next - p)));
            p = next;
        } else if (limit == kMaxPieceBytes) {
            reader.readPiece(std::string_view(p, kMaxPieceBytes));
            p += kMaxPieceBytes;
        } else {
            break;
        }
    }
    reader.readable = nullptr;
    return p;
}
