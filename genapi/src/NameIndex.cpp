#include "NameIndex.h"

#include <cstdint>

#include "Node.h"

namespace GenApi {
namespace Detail {

std::size_t NameIndex::Hash(std::string_view name)
{
    uint64_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    return static_cast<std::size_t>(hash ^ (hash >> 29));
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
    std::vector<Node*> old(slots, nullptr);
    old.swap(mSlots);
    mCount = 0;
    for (Node* node : old) {
        if (node) {
            Insert(node);
        }
    }
}

bool NameIndex::Insert(Node* node)
{
    if ((mCount + 1) * 2 > mSlots.size()) {
        Grow(mSlots.empty() ? 16 : mSlots.size() * 2);
    }
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t slot = Hash(node->Name()) & mask;; slot = (slot + 1) & mask) {
        if (!mSlots[slot]) {
            mSlots[slot] = node;
            ++mCount;
            return true;
        }
        if (mSlots[slot]->Name() == node->Name()) {
            return false;
        }
    }
}

Node* NameIndex::Find(std::string_view name) const
{
    if (mSlots.empty()) {
        return nullptr;
    }
    const std::size_t mask = mSlots.size() - 1;
    for (std::size_t slot = Hash(name) & mask; mSlots[slot]; slot = (slot + 1) & mask) {
        if (mSlots[slot]->Name() == name) {
            return mSlots[slot];
        }
    }
    return nullptr;
}

} // namespace Detail
} // namespace GenApi
