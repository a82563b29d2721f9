#include "NodeMap.h"

#include <algorithm>

#include <GenICam/GCException.h>

#include "Node.h"
#include "PortNode.h"

namespace GenApi {
namespace Detail {

namespace {
// Real descriptions nest a few levels (a feature, its converter, a formula, a
// register, its address); anything this deep is a cycle.
constexpr int kMaxReferenceDepth = 128;
} // namespace

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

char* NodeMap::AdoptText(const char* text, std::size_t size)
{
    // Not value-initialised: every byte is copied over at once.
    mText.reset(new char[size + 1]);
    std::copy(text, text + size, mText.get());
    mText[size] = '\0';
    return mText.get();
}

std::string_view NodeMap::Keep(std::string text)
{
    mKept.push_back(std::move(text));
    return mKept.back();
}

bool NodeMap::Add(std::unique_ptr<Node>& node)
{
    if (!mIndex.Insert(node.get())) {
        return false;
    }
    mNodes.push_back(std::move(node));
    return true;
}

Node& NodeMap::AddHidden(std::unique_ptr<Node> node)
{
    mHidden.push_back(std::move(node));
    return *mHidden.back();
}

void NodeMap::Reserve(std::size_t count)
{
    mIndex.Reserve(count);
    mNodes.reserve(count);
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

void NodeMap::NotifyChanged(Node& node)
{
    ++mOperation;
    ++mEpoch;
    node.Visit(mEpoch);
    std::vector<Node*> pending(node.Dependents().begin(), node.Dependents().end());
    while (!pending.empty()) {
        Node* next = pending.back();
        pending.pop_back();
        if (!next->Visit(mEpoch)) {
            continue;
        }
        next->DropCache();
        pending.insert(pending.end(), next->Dependents().begin(), next->Dependents().end());
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
        throw RUNTIME_EXCEPTION("Node '%s': references nest more than %d levels deep; the description refers to "
                                "this node in a cycle",
                                target.Name().c_str(), kMaxReferenceDepth);
    }
    ++mReferenceDepth;
}

} // namespace Detail
} // namespace GenApi
