// Finds a node by its name. Loading inserts thousands of names, so this is a
// flat open-addressing table (one allocation when growing, none per name)
// that keeps each name's hash, so a probe touches a node only when it may match.
#ifndef GENAPI_DETAIL_NAMEINDEX_H
#define GENAPI_DETAIL_NAMEINDEX_H

#include <cstddef>
#include <string_view>
#include <vector>

namespace GenApi {
namespace Detail {

class Node;

class NameIndex {
public:
    void Reserve(std::size_t count);
    // False when a node of that name is already there.
    bool Insert(Node* node);
    Node* Find(std::string_view name) const;

private:
    struct Slot {
        Node* mNode = nullptr;
        std::size_t mHash = 0;
    };
    static std::size_t Hash(std::string_view name);
    void Grow(std::size_t slots);
    bool Insert(Node* node, std::size_t hash);

    std::vector<Slot> mSlots;
    std::size_t mCount = 0;
};

} // namespace Detail
} // namespace GenApi

#endif
