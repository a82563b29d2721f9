// Which payload packets of a frame arrived: one bit per packet ID, sized
// once per acquisition so that a frame's bookkeeping never allocates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Gige {

class PacketBitmap {
public:
    // Room for IDs 0..count-1.
    void Reserve(std::size_t count) { mWords.assign((count + 63) / 64, 0); }
    // Clears IDs 0..count-1 (count within what was reserved).
    void Clear(std::size_t count)
    {
        const std::size_t words = (count + 63) / 64;
        for (std::size_t i = 0; i < words && i < mWords.size(); ++i) {
            mWords[i] = 0;
        }
    }
    bool Test(std::size_t id) const { return (mWords[id / 64] >> (id % 64) & 1u) != 0; }
    void Set(std::size_t id) { mWords[id / 64] |= std::uint64_t{1} << (id % 64); }
    // The IDs set among first..last.
    std::size_t CountSet(std::size_t first, std::size_t last) const
    {
        std::size_t count = 0;
        for (std::size_t id = first; id <= last; ++id) {
            count += Test(id) ? 1 : 0;
        }
        return count;
    }

    // The first ID among first..last whose bit is value, or last+1.
    std::size_t Next(bool value, std::size_t first, std::size_t last) const
    {
        std::size_t id = first;
        while (id <= last) {
            const std::uint64_t word = value ? mWords[id / 64] : ~mWords[id / 64];
            const std::uint64_t ahead = word >> (id % 64);
            if (ahead == 0) {
                id = (id / 64 + 1) * 64;
                continue;
            }
            id += static_cast<std::size_t>(__builtin_ctzll(ahead));
            return id <= last ? id : last + 1;
        }
        return last + 1;
    }

private:
    std::vector<std::uint64_t> mWords;
};

}
