#include "NameIndex.h"

#include <cstdint>
#include <cstring>

#include "Node.h"

namespace GenApi {
namespace Detail {

std::size_t NameIndex::Hash(std::string_view name)
{
    // Names are compared in full on a match; the hash mixes only the length
    // and the first, middle and last eight bytes, which tells them apart well.
    const std::size_t size = name.size();
    uint64_t hash = size * 0x9E3779B97F4A7C15ull;
    const auto mix = [&hash](uint64_t word) {
        hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
        hash ^= hash >> 32;
    };
    if (size < 8) {
        uint64_t word = 0;
        for (char c : name) {
            word = (word << 8) | static_cast<unsigned char>(c);
        }
        mix(word);
    } else {
        for (const std::size_t at : {std::size_t{0}, (size - 8) / 2, size - 8}) {
            uint64_t word = 0;
            std::memcpy(&word, name.data() + at, sizeof word);
            mix(word);
        }
    }
    return static_cast<std::size_t>(hash);
}

void NameIndex::Reserve(std::size_t count)
{
    std::size_t slots = 16;
    while (slots < count * 2) {
        slots *= 2;
    }
    if (slots > mSlots.size()) {
        Grow(slots);
    }
}

void NameIndex::Grow(std::size_t slots)
{
    std::vector<Slot> old(slots);
    old.swap(mSlots);
    mCount = 0;
    for (const Slot& slot : old) {
        if (slot.mNode) {
            Insert(slot.mNode, slot.mHash);
        }
    }
}

bool NameIndex::Insert(Node* node) { return Insert(node, Hash(node->Name())); }

bool NameIndex::Insert(Node* node, std::size_t hash)
{
    if ((mCount + 1) * 2 > mSlots.size()) {
        Grow(mSlots.empty() ? 16 : mSlots.size() * 2);
    }
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        Slot& here = mSlots[slot];
        if (!here.mNode) {
            here.mNode = node;
            here.mHash = hash;
            ++mCount;
            return true;
        }
        if (here.mHash == hash && here.mNode->Name() == node->Name()) {
            return false;
        }
    }
}

Node* NameIndex::Find(std::string_view name) const
{
    if (mSlots.empty()) {
        return nullptr;
    }
    const std::size_t hash = Hash(name);
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t slot = hash & mask; mSlots[slot].mNode; slot = (slot + 1) & mask) {
        const Slot& here = mSlots[slot];
        if (here.mHash == hash && here.mNode->Name() == name) {
            return here.mNode;
        }
    }
    return nullptr;
}

} // namespace Detail
} // namespace GenApi
