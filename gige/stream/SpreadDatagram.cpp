#include "stream/SpreadDatagram.h"

#include <algorithm>
#include <cstring>

namespace Gige {

void CopySpread(const Os::DatagramSlot& slot, std::size_t offset, std::size_t count, std::uint8_t* destination)
{
    struct Piece {
        const std::uint8_t* from;
        std::size_t length;
        std::size_t to;
    };
    Piece pieces[Os::MaxDatagramSpans];
    std::size_t pieceCount = 0;
    std::size_t spanStart = 0;
    const std::size_t end = offset + count;
    for (std::size_t i = 0; i < slot.spanCount && spanStart < end; ++i) {
        const Os::BufferSpan& span = slot.spans[i];
        const std::size_t first = std::max(offset, spanStart);
        const std::size_t last = std::min(end, spanStart + span.size);
        if (first < last) {
            pieces[pieceCount++] =
                Piece{static_cast<const std::uint8_t*>(span.data) + (first - spanStart), last - first, first - offset};
        }
        spanStart += span.size;
    }
    // Last piece first: it is the only one that may lie where the bytes go.
    for (std::size_t i = pieceCount; i-- > 0;) {
        if (pieces[i].from != destination + pieces[i].to) {
            std::memmove(destination + pieces[i].to, pieces[i].from, pieces[i].length);
        }
    }
}

}
