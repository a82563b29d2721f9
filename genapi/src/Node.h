// The base of every node: names and texts, the access mode with everything it
// derives from, the relations to other nodes, and the numeric operations that
// references and formulas use between nodes.
#ifndef GENAPI_DETAIL_NODE_H
#define GENAPI_DETAIL_NODE_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <GenApi/INode.h>

#include "Number.h"
#include "Tags.h"
#include "ValueRef.h"

namespace pugi {
class xml_node;
}

namespace GenApi {
namespace Detail {

class Loader;
class NodeMap;

// What a node yields when another node reads it as a number.
enum class NumberKind { None, Integer, Float };

class Node : public virtual INode {
public:
    // `name` lies in text the map keeps and ends with a zero byte.
    Node(NodeMap& map, std::string_view name, EInterfaceType type);
    ~Node() override;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // INode
    gcstring GetName(bool FullQualified = false) const override;
    ENameSpace GetNameSpace() const override { return mNameSpace; }
    EVisibility GetVisibility() const override { return mVisibility; }
    gcstring GetToolTip() const override;
    gcstring GetDescription() const override;
    gcstring GetDisplayName() const override;
    gcstring GetDeviceName() const override;
    EInterfaceType GetPrincipalInterfaceType() const override { return mType; }
    void InvalidateNode() override;
    bool IsCachable() const override;
    ECachingMode GetCachingMode() const override;
    int64_t GetPollingTime() const override { return mPollingTime; }
    bool IsStreamable() const override { return mStreamable; }
    INode* GetAlias() const override { return mAlias; }
    INodeMap* GetNodeMap() const override;
    EAccessMode GetAccessMode() const override;

    // Loading: the node's own elements, then (once every node is configured)
    // what needs the other nodes complete, such as compiling formulas.
    void Configure(const pugi::xml_node& element, Loader& loader);
    virtual void Finish(const pugi::xml_node& element, Loader& loader);
    void SetNameSpace(ENameSpace nameSpace) { mNameSpace = nameSpace; }
    // `node` is to be invalidated whenever this node changes.
    void AddDependent(Node* node);
    // The first of the nodes to invalidate with this one, in the map's list of them.
    uint32_t FirstDependent() const { return mFirstDependent; }
    std::string_view Name() const { return mName; }
    const char* NameText() const { return mName.data(); }
    NodeMap& Map() const { return mMap; }

    // The operations on a node; the caller holds the map's lock. Value and
    // TextValue are what the host reads and check the access mode; nodes
    // reading each other (pValue, pVariable, ...) Evaluate, which does not:
    // descriptions read values behind nodes they mark as not implemented.
    EAccessMode Access();
    Number Value(bool verify = false, bool ignoreCache = false);
    Number Evaluate(bool verify = false, bool ignoreCache = false);
    void Write(Number value, bool verify);
    Number MinValue();
    Number MaxValue();
    Number IncValue();
    virtual NumberKind Kind() const { return NumberKind::None; }
    // Text values (String, StringReg), for a String that takes its text from another node.
    virtual bool HasText() const { return false; }
    std::string TextValue(bool verify = false, bool ignoreCache = false);
    std::string EvaluateText(bool verify = false, bool ignoreCache = false) { return ReadText(verify, ignoreCache); }
    void WriteText(const std::string& text, bool verify);
    virtual int64_t MaxTextLength();
    // For enumerations: the value of the entry of that name.
    virtual bool FindEntryValue(std::string_view symbolic, int64_t& value) const;
    // Forgets cached register contents.
    virtual void DropCache() {}
    void CheckReadable();
    void CheckWritable();

    // Marks the node as visited by one pass over the dependency graph.
    bool Visit(uint64_t epoch);

protected:
    // Takes over what another node's description set (names and relations excepted).
    void TakeSettings(const Node& other);
    // Elements of this node kind; false for elements it does not model.
    virtual bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader);
    // The access the node has of itself, before availability, imposed access and locks.
    virtual EAccessMode OwnAccess() { return RW; }
    virtual Number ReadNumber(bool verify, bool ignoreCache);
    virtual void WriteNumber(Number value, bool verify);
    // Without limits of its own, a node spans the whole range of its kind.
    virtual Number MinNumber();
    virtual Number MaxNumber();
    virtual Number IncNumber() { return Number::Int(1); }
    virtual std::string ReadText(bool verify, bool ignoreCache);
    virtual void WriteTextValue(const std::string& text, bool verify);
    // Refuses a value the node cannot take (range and increment by default).
    virtual void VerifyValue(const Number& value);

    NodeMap& mMap;
    std::string_view mName;
    EInterfaceType mType;
    ENameSpace mNameSpace = Custom;
    EVisibility mVisibility = Beginner;
    EAccessMode mImposedAccess = RW;
    std::string_view mToolTip;
    std::string_view mDescription;
    std::string_view mDisplayName;
    Node* mAlias = nullptr;
    int64_t mPollingTime = -1;
    ECachingMode mCaching = WriteThrough;
    bool mStreamable = false;

private:
    // Results kept for the rest of one call into the map, so a description
    // that refers to a node many times over evaluates it once.
    enum MemoSlot { kAccessMemo, kValueMemo, kMinMemo, kMaxMemo, kIncMemo, kMemoSlots };
    // What a node keeps while running, made at its first evaluation: loading
    // makes a node for every element of a description and touches none of it.
    struct State {
        // One operation's results; the slots share the operation they belong to.
        uint64_t mOperation = 0;
        uint8_t mKept = 0;   // a bit per slot
        uint8_t mFloats = 0; // a bit per slot: the value is a double
        union Value {
            int64_t mInt;
            double mFloat;
        } mValues[kMemoSlots] = {};
        uint64_t mVisitEpoch = 0;
    };
    // What the node's access draws on, made only for the nodes that have any.
    struct Conditions {
        ValueRef mIsImplemented;
        ValueRef mIsAvailable;
        ValueRef mIsLocked;
    };
    State& RunState();
    Conditions& EditConditions();
    bool Recall(MemoSlot slot, Number& value) const;
    void Remember(MemoSlot slot, const Number& value);
    bool Holds(const ValueRef& condition);

    uint32_t mFirstDependent;
    State* mState = nullptr;
    Conditions* mConditions = nullptr;
};

// The most a node may do given two sources that each limit it (the node's own
// access and the imposed one, say).
EAccessMode CombineAccess(EAccessMode a, EAccessMode b);

} // namespace Detail
} // namespace GenApi

#endif
