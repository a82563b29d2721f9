#include "NodeMap.h"

#include <algorithm>

#include <GenICam/GCException.h>

#include "Node.h"
#include "PortNode.h"

namespace GenApi {
namespace Detail {

NodeMap::NodeMap(std::string deviceName) : mDeviceName(std::move(deviceName)) {}

NodeMap::~NodeMap() = default;

void NodeMap::GetNodes(NodeList_t& Nodes) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    Nodes.clear();
    Nodes.reserve(mNodes.size());
    for (const auto& node : mNodes) {
        Nodes.push_back(node.get());
    }
}

INode* NodeMap::GetNode(const gcstring& Name) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return Find(Name.str());
}

void NodeMap::InvalidateNodes() const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    const_cast<NodeMap*>(this)->InvalidateAll();
}

bool NodeMap::Connect(IPort* pPort, const gcstring& PortName) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    auto* port = dynamic_cast<PortNode*>(Find(PortName.str()));
    if (!port) {
        return false;
    }
    port->SetPort(pPort);
    const_cast<NodeMap*>(this)->InvalidateAll();
    return true;
}

bool NodeMap::Connect(IPort* pPort) const { return Connect(pPort, "Device"); }

char* NodeMap::AdoptText(std::string text)
{
    mText = std::move(text);
    return mText.data();
}

std::string_view NodeMap::Keep(std::initializer_list<std::string_view> pieces)
{
    constexpr std::size_t kBlock = 16384;
    std::size_t size = 0;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    char* place = nullptr;
    if (size + 1 > kBlock) {
        // A block of its own, placed before the block being filled.
        std::unique_ptr<char[]> own(new char[size + 1]);
        place = own.get();
        mKept.insert(mKept.empty() ? mKept.end() : mKept.end() - 1, std::move(own));
    } else {
        if (mKept.empty() || mKeptFree < size + 1) {
            mKept.emplace_back(new char[kBlock]);
            mKeptFree = kBlock;
        }
        place = mKept.back().get() + (kBlock - mKeptFree);
        mKeptFree -= size + 1;
    }
    char* end = place;
    for (const std::string_view piece : pieces) {
        end = std::copy(piece.begin(), piece.end(), end);
    }
    *end = '\0';
    return std::string_view(place, size);
}

void NodeDeleter::operator()(Node* node) const { node->~Node(); }

void* NodeMap::Allocate(std::size_t size, std::size_t alignment)
{
    constexpr std::size_t kBlock = 1 << 16;
    if (size > kBlock) {
        throw BAD_ALLOC_EXCEPTION("a node of %d bytes does not fit a block", static_cast<int>(size));
    }
    std::size_t used = mBlocks.empty() ? kBlock : kBlock - mBlockFree;
    used = (used + alignment - 1) / alignment * alignment;
    if (mBlocks.empty() || used + size > kBlock) {
        // operator new[] aligns for every fundamental type, which nodes need at most.
        mBlocks.emplace_back(new unsigned char[kBlock]);
        used = 0;
    }
    mBlockFree = kBlock - used - size;
    return mBlocks.back().get() + used;
}

bool NodeMap::Add(NodePtr& node)
{
    if (!mIndex.Insert(node.get())) {
        return false;
    }
    mNodes.push_back(std::move(node));
    return true;
}

Node& NodeMap::AddHidden(NodePtr node)
{
    mHidden.push_back(std::move(node));
    return *mHidden.back();
}

void NodeMap::Reserve(std::size_t nodes, std::size_t names)
{
    mIndex.Reserve(names);
    mNodes.reserve(nodes);
}

Node* NodeMap::Find(std::string_view name) const
{
    return mIndex.Find(name);
}

void NodeMap::EnterCall()
{
    if (mCallDepth++ == 0) {
        ++mOperation;
    }
}

uint32_t NodeMap::AddDependent(uint32_t first, Node* node)
{
    if (mDependents.size() >= kNoDependent) {
        throw BAD_ALLOC_EXCEPTION("the description links more nodes than the map can hold");
    }
    mDependents.push_back({node, first});
    return static_cast<uint32_t>(mDependents.size() - 1);
}

void NodeMap::NotifyChanged(Node& node)
{
    ++mOperation;
    ++mEpoch;
    node.Visit(mEpoch);
    std::vector<uint32_t> pending(1, node.FirstDependent());
    while (!pending.empty()) {
        const uint32_t link = pending.back();
        pending.pop_back();
        if (link == kNoDependent) {
            continue;
        }
        const Dependent& dependent = mDependents[link];
        pending.push_back(dependent.mNext);
        Node* next = dependent.mNode;
        if (next->Visit(mEpoch)) {
            next->DropCache();
            pending.push_back(next->FirstDependent());
        }
    }
}

void NodeMap::InvalidateAll()
{
    ++mOperation;
    for (const auto& node : mNodes) {
        node->DropCache();
    }
    for (const auto& node : mHidden) {
        node->DropCache();
    }
}

void NodeMap::EnterReference(const Node& target)
{
    if (mReferenceDepth >= kMaxReferenceDepth) {
        const auto path = mReferencePath.begin();
        if (std::find(path, path + mReferenceDepth, &target) != path + mReferenceDepth) {
            throw RUNTIME_EXCEPTION("Node '%s': references nest more than %d levels deep; the description refers "
                                    "to this node in a cycle",
                                    target.NameText(), kMaxReferenceDepth);
        }
        throw RUNTIME_EXCEPTION("Node '%s': it is reached through a chain of more than %d references, too deep "
                                "to follow",
                                target.NameText(), kMaxReferenceDepth);
    }
    mReferencePath[static_cast<std::size_t>(mReferenceDepth++)] = &target;
}

void NodeMap::EnterFormula(int height, const char* owner)
{
    if (mFormulaDepth + height > kMaxFormulaDepth) {
        throw RUNTIME_EXCEPTION("Node '%s': its formula and the formulas of the nodes it reads nest more than %d "
                                "operations deep",
                                owner, kMaxFormulaDepth);
    }
    mFormulaDepth += height;
}

} // namespace Detail
} // namespace GenApi
