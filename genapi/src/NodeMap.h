// The node map: owns the nodes of one description, finds them by name,
// connects ports, serialises access and spreads invalidation along the
// dependencies between nodes.
#ifndef GENAPI_DETAIL_NODEMAP_H
#define GENAPI_DETAIL_NODEMAP_H

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <new>
#include <utility>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include <GenApi/INodeMap.h>

#include "NameIndex.h"

namespace GenApi {
namespace Detail {

class Node;

// Real descriptions nest a few levels (a feature, its converter, a formula, a
// register, its address); a chain deeper than this is a cycle or hostile.
constexpr int kMaxReferenceDepth = 128;
// Operations of formulas evaluated inside one another, each a frame of the
// evaluation's stack: room for several formulas of the largest height.
constexpr int kMaxFormulaDepth = 2048;

// Nodes live in blocks the map owns; their pointer only ends their life.
struct NodeDeleter {
    void operator()(Node* node) const;
};
template <class T>
using OwnedNode = std::unique_ptr<T, NodeDeleter>;
using NodePtr = OwnedNode<Node>;

class NodeMap final : public INodeMap {
public:
    explicit NodeMap(std::string deviceName);
    ~NodeMap() override;
    NodeMap(const NodeMap&) = delete;
    NodeMap& operator=(const NodeMap&) = delete;

    // INodeMap
    void GetNodes(NodeList_t& Nodes) const override;
    INode* GetNode(const gcstring& Name) const override;
    void InvalidateNodes() const override;
    bool Connect(IPort* pPort, const gcstring& PortName) const override;
    bool Connect(IPort* pPort) const override;
    gcstring GetDeviceName() const override { return mDeviceName; }

    // Building. The map keeps the description text, which the loader parses in
    // place: node texts point into it rather than being copied.
    char* AdoptText(std::string text);
    // Keeps a text made while loading (names, texts joined from pieces),
    // zero-terminated like the description's own texts.
    std::string_view Keep(std::initializer_list<std::string_view> pieces);
    // A node made in the map's own memory: a description has thousands, and
    // allocating them one by one would cost more than the rest of loading.
    template <class T, class... Args>
    OwnedNode<T> Make(Args&&... args)
    {
        return OwnedNode<T>(new (Allocate(sizeof(T), alignof(T))) T(*this, std::forward<Args>(args)...));
    }
    // Plain data a node needs only sometimes (its access conditions, what it
    // keeps while running), in the map's memory like the nodes. It is never
    // destroyed, so it may hold nothing that needs a destructor.
    template <class T>
    T* MakeData(const T& value)
    {
        static_assert(std::is_trivially_destructible<T>::value, "the map never destroys its data");
        return new (Allocate(sizeof(T), alignof(T))) T(value);
    }
    // A named node is found by its name. False when the name is taken, and
    // the node is left with the caller.
    bool Add(NodePtr& node);
    // Nodes without a name of their own, such as a register's address formula.
    Node& AddHidden(NodePtr node);
    Node* Find(std::string_view name) const;
    // Room for `nodes` nodes in the node list and `names` in the name index.
    void Reserve(std::size_t nodes, std::size_t names);
    // What loading passed over in the description.
    void AddWarning(std::string text) { mWarnings.push_back(std::move(text)); }
    const std::vector<std::string>& Warnings() const { return mWarnings; }

    // Running. A lock is held for every call from outside; each outermost call
    // is one operation, within which nodes may keep what they evaluated.
    std::recursive_mutex& Mutex() const { return mMutex; }
    uint64_t Operation() const { return mOperation; }
    void EnterCall();
    void LeaveCall() { --mCallDepth; }
    // After a write: everything that depends on the node forgets its cache.
    void NotifyChanged(Node& node);
    // The nodes that depend on a node, as lists of links in one array: a
    // description links thousands of nodes, and a list of their own each
    // would be thousands of small allocations. A node holds its first link.
    static constexpr uint32_t kNoDependent = UINT32_MAX;
    // Puts `node` before the list that starts at `first`; the new start.
    uint32_t AddDependent(uint32_t first, Node* node);
    void ReserveDependents(std::size_t count) { mDependents.reserve(count); }
    void InvalidateAll();
    // Bounds how deep one node's value may draw on others, naming a cycle
    // when the target is already on the way to it.
    void EnterReference(const Node& target);
    void LeaveReference() { --mReferenceDepth; }
    // Bounds how deep the formulas being evaluated recurse together, through
    // all the nodes they read: each counts its height in operations.
    void EnterFormula(int height, const char* owner);
    void LeaveFormula(int height) { mFormulaDepth -= height; }

private:
    void* Allocate(std::size_t size, std::size_t alignment);

    // Declared first, so that it outlives the nodes it holds.
    std::vector<std::unique_ptr<unsigned char[]>> mBlocks;
    std::size_t mBlockFree = 0;
    std::string mText;
    // Kept texts, packed into blocks rather than allocated one by one.
    std::vector<std::unique_ptr<char[]>> mKept;
    std::size_t mKeptFree = 0;
    std::vector<NodePtr> mNodes;
    std::vector<NodePtr> mHidden;
    struct Dependent {
        Node* mNode;
        uint32_t mNext;
    };
    std::vector<Dependent> mDependents;
    NameIndex mIndex;
    std::string mDeviceName;
    std::vector<std::string> mWarnings;
    mutable std::recursive_mutex mMutex;
    int mCallDepth = 0;
    int mReferenceDepth = 0;
    // The nodes of the reference steps under way, outermost first.
    std::array<const Node*, kMaxReferenceDepth> mReferencePath{};
    int mFormulaDepth = 0;
    uint64_t mOperation = 1;
    uint64_t mEpoch = 0;
};

// One formula being evaluated, for as long as its evaluation lasts.
class FormulaStep {
public:
    FormulaStep(NodeMap& map, int height, const char* owner) : mMap(map), mHeight(height)
    {
        mMap.EnterFormula(height, owner);
    }
    ~FormulaStep() { mMap.LeaveFormula(mHeight); }
    FormulaStep(const FormulaStep&) = delete;
    FormulaStep& operator=(const FormulaStep&) = delete;

private:
    NodeMap& mMap;
    int mHeight;
};

// Holds the map's lock for one call from outside.
class MapLock {
public:
    explicit MapLock(NodeMap& map) : mMap(map), mGuard(map.Mutex()) { mMap.EnterCall(); }
    ~MapLock() { mMap.LeaveCall(); }
    MapLock(const MapLock&) = delete;
    MapLock& operator=(const MapLock&) = delete;

private:
    NodeMap& mMap;
    std::lock_guard<std::recursive_mutex> mGuard;
};

// One step from a node to a node it draws on, for as long as the step lasts.
class ReferenceStep {
public:
    ReferenceStep(NodeMap& map, const Node& target) : mMap(map) { mMap.EnterReference(target); }
    ~ReferenceStep() { mMap.LeaveReference(); }
    ReferenceStep(const ReferenceStep&) = delete;
    ReferenceStep& operator=(const ReferenceStep&) = delete;

private:
    NodeMap& mMap;
};

} // namespace Detail
} // namespace GenApi

#endif
