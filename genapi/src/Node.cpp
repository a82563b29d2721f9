#include "Node.h"

#include <cfloat>
#include <cstdint>

#include <pugixml.hpp>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "NodeMap.h"
#include "NumberText.h"
#include "PortNode.h"

namespace GenApi {
namespace Detail {

EAccessMode CombineAccess(EAccessMode a, EAccessMode b)
{
    if (a == NI || b == NI) {
        return NI;
    }
    const bool readable = IsReadable(a) && IsReadable(b);
    const bool writable = IsWritable(a) && IsWritable(b);
    if (readable && writable) {
        return RW;
    }
    if (readable) {
        return RO;
    }
    return writable ? WO : NA;
}

Node::Node(NodeMap& map, std::string_view name, EInterfaceType type)
    : mMap(map), mName(name), mType(type), mFirstDependent(NodeMap::kNoDependent)
{
}

void Node::AddDependent(Node* node) { mFirstDependent = mMap.AddDependent(mFirstDependent, node); }

Node::~Node() = default;

gcstring Node::GetName(bool FullQualified) const
{
    const std::string name(mName);
    if (!FullQualified) {
        return name;
    }
    return (mNameSpace == Standard ? "Std::" : "Cust::") + name;
}

gcstring Node::GetToolTip() const { return gcstring(mToolTip.data(), mToolTip.size()); }

gcstring Node::GetDescription() const { return gcstring(mDescription.data(), mDescription.size()); }

gcstring Node::GetDisplayName() const
{
    return mDisplayName.empty() ? gcstring(mName.data(), mName.size()) : gcstring(mDisplayName.data(), mDisplayName.size());
}

gcstring Node::GetDeviceName() const { return mMap.GetDeviceName(); }

INodeMap* Node::GetNodeMap() const { return &mMap; }

void Node::InvalidateNode()
{
    MapLock lock(mMap);
    DropCache();
    mMap.NotifyChanged(*this);
}

bool Node::IsCachable() const { return GetCachingMode() != NoCache; }

ECachingMode Node::GetCachingMode() const { return mCaching; }

EAccessMode Node::GetAccessMode() const
{
    MapLock lock(mMap);
    return const_cast<Node*>(this)->Access();
}

void Node::Configure(const pugi::xml_node& element, Loader& loader)
{
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        const Tag tag = TagOf(child.name());
        if (tag == Tag::Unknown) {
            continue;
        }
        if (!Ignorable(tag)) {
            ConfigureElement(tag, child, loader);
            continue;
        }
        // Cameras ship <Streamable/> and the like; the node keeps its default.
        try {
            ConfigureElement(tag, child, loader);
        } catch (const GenICam::RuntimeException& e) {
            loader.Warn(child, e.GetDescription());
        }
    }
}

void Node::Finish(const pugi::xml_node&, Loader&) {}

void Node::TakeSettings(const Node& other)
{
    mVisibility = other.mVisibility;
    mToolTip = other.mToolTip;
    mDescription = other.mDescription;
    mDisplayName = other.mDisplayName;
    mImposedAccess = other.mImposedAccess;
    // A copy of its own: the node's description may add conditions.
    mConditions = other.mConditions ? mMap.MakeData(*other.mConditions) : nullptr;
    mAlias = other.mAlias;
    mPollingTime = other.mPollingTime;
    mCaching = other.mCaching;
    mStreamable = other.mStreamable;
}

bool Node::ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader)
{
    switch (tag) {
    case Tag::ToolTip:
        mToolTip = loader.Text(element);
        return true;
    case Tag::Description:
        mDescription = loader.Text(element);
        return true;
    case Tag::DisplayName:
        mDisplayName = loader.Text(element);
        return true;
    case Tag::Visibility:
        mVisibility = loader.Visibility(element);
        return true;
    case Tag::pIsImplemented:
        EditConditions().mIsImplemented = loader.NumericReference(*this, element);
        return true;
    case Tag::pIsAvailable:
        EditConditions().mIsAvailable = loader.NumericReference(*this, element);
        return true;
    case Tag::pIsLocked:
        EditConditions().mIsLocked = loader.NumericReference(*this, element);
        return true;
    case Tag::ImposedAccessMode:
        mImposedAccess = loader.AccessMode(element);
        return true;
    case Tag::pAlias:
        mAlias = &loader.Reference(*this, element, Loader::Link::Plain);
        return true;
    case Tag::pInvalidator:
        loader.Reference(*this, element, Loader::Link::Reads);
        return true;
    case Tag::Streamable:
        mStreamable = loader.YesNo(element);
        return true;
    case Tag::PollingTime:
        mPollingTime = loader.Integer(element);
        return true;
    case Tag::Cachable:
        mCaching = loader.Caching(element);
        return true;
    default:
        return false;
    }
}

bool Node::FindEntryValue(std::string_view, int64_t&) const { return false; }

Node::State& Node::RunState()
{
    if (!mState) {
        mState = mMap.MakeData(State());
    }
    return *mState;
}

Node::Conditions& Node::EditConditions()
{
    if (!mConditions) {
        mConditions = mMap.MakeData(Conditions());
    }
    return *mConditions;
}

bool Node::Visit(uint64_t epoch)
{
    State& state = RunState();
    if (state.mVisitEpoch == epoch) {
        return false;
    }
    state.mVisitEpoch = epoch;
    return true;
}

bool Node::Recall(MemoSlot slot, Number& value) const
{
    const uint8_t bit = static_cast<uint8_t>(1u << slot);
    if (!mState || mState->mOperation != mMap.Operation() || !(mState->mKept & bit)) {
        return false;
    }
    value = (mState->mFloats & bit) ? Number::Float(mState->mValues[slot].mFloat)
                                    : Number::Int(mState->mValues[slot].mInt);
    return true;
}

void Node::Remember(MemoSlot slot, const Number& value)
{
    State& state = RunState();
    if (state.mOperation != mMap.Operation()) {
        state.mOperation = mMap.Operation();
        state.mKept = 0;
    }
    const uint8_t bit = static_cast<uint8_t>(1u << slot);
    state.mKept |= bit;
    if (value.mIsFloat) {
        state.mFloats |= bit;
        state.mValues[slot].mFloat = value.mFloat;
    } else {
        state.mFloats &= static_cast<uint8_t>(~bit);
        state.mValues[slot].mInt = value.mInt;
    }
}

bool Node::Holds(const ValueRef& condition)
{
    // A condition on a register behind a port nobody connected (a chunk
    // without an image) does not hold. Any other failure, a camera that stops
    // answering above all, raises: it must not look like a missing feature.
    try {
        return !condition.Get().IsZero();
    } catch (const PortNotConnected&) {
        return false;
    }
}

EAccessMode Node::Access()
{
    Number memo;
    if (Recall(kAccessMemo, memo)) {
        return static_cast<EAccessMode>(memo.mInt);
    }
    EAccessMode mode = RW;
    const Conditions none{};
    const Conditions& conditions = mConditions ? *mConditions : none;
    if (conditions.mIsImplemented.IsSet() && !Holds(conditions.mIsImplemented)) {
        mode = NI;
    } else if (conditions.mIsAvailable.IsSet() && !Holds(conditions.mIsAvailable)) {
        mode = NA;
    } else {
        mode = CombineAccess(OwnAccess(), mImposedAccess);
        if (IsWritable(mode) && conditions.mIsLocked.IsSet() && Holds(conditions.mIsLocked)) {
            mode = mode == RW ? RO : NA;
        }
    }
    Remember(kAccessMemo, Number::Int(mode));
    return mode;
}

void Node::CheckReadable()
{
    const EAccessMode mode = Access();
    if (!IsReadable(mode)) {
        throw ACCESS_EXCEPTION("Node '%s' is not readable (access mode %s)", mName.data(), AccessModeName(mode));
    }
}

void Node::CheckWritable()
{
    const EAccessMode mode = Access();
    if (!IsWritable(mode)) {
        throw ACCESS_EXCEPTION("Node '%s' is not writable (access mode %s)", mName.data(), AccessModeName(mode));
    }
}

Number Node::Value(bool verify, bool ignoreCache)
{
    CheckReadable();
    return Evaluate(verify, ignoreCache);
}

Number Node::Evaluate(bool verify, bool ignoreCache)
{
    const bool plain = !verify && !ignoreCache;
    Number value;
    if (plain && Recall(kValueMemo, value)) {
        return value;
    }
    value = ReadNumber(verify, ignoreCache);
    if (verify) {
        VerifyValue(value);
    }
    if (plain) {
        Remember(kValueMemo, value);
    }
    return value;
}

void Node::Write(Number value, bool verify)
{
    CheckWritable();
    if (verify) {
        VerifyValue(value);
    }
    WriteNumber(value, verify);
    mMap.NotifyChanged(*this);
}

Number Node::MinValue()
{
    Number value;
    if (!Recall(kMinMemo, value)) {
        value = MinNumber();
        Remember(kMinMemo, value);
    }
    return value;
}

Number Node::MaxValue()
{
    Number value;
    if (!Recall(kMaxMemo, value)) {
        value = MaxNumber();
        Remember(kMaxMemo, value);
    }
    return value;
}

Number Node::IncValue()
{
    Number value;
    if (!Recall(kIncMemo, value)) {
        value = IncNumber();
        Remember(kIncMemo, value);
    }
    return value;
}

Number Node::MinNumber()
{
    return Kind() == NumberKind::Float ? Number::Float(-DBL_MAX) : Number::Int(INT64_MIN);
}

Number Node::MaxNumber() { return Kind() == NumberKind::Float ? Number::Float(DBL_MAX) : Number::Int(INT64_MAX); }

void Node::VerifyValue(const Number& value)
{
    if (Kind() == NumberKind::Float) {
        const double x = value.AsFloat();
        const double min = MinValue().AsFloat();
        const double max = MaxValue().AsFloat();
        if (!(x >= min && x <= max)) {
            throw OUT_OF_RANGE_EXCEPTION("Node '%s': value %s is out of range [%s, %s]", mName.data(),
                                         FormatFloat(x).c_str(), FormatFloat(min).c_str(), FormatFloat(max).c_str());
        }
        return;
    }
    if (Kind() != NumberKind::Integer) {
        return;
    }
    const int64_t x = ToInt64(value, mName.data());
    const int64_t min = ToInt64(MinValue(), mName.data());
    const int64_t max = ToInt64(MaxValue(), mName.data());
    if (x < min || x > max) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': value %s is out of range [%s, %s]", mName.data(),
                                     FormatInt(x).c_str(), FormatInt(min).c_str(), FormatInt(max).c_str());
    }
    const int64_t inc = ToInt64(IncValue(), mName.data());
    // An increment the camera reports as 0 or less restricts nothing.
    if (inc > 1 && (static_cast<uint64_t>(x) - static_cast<uint64_t>(min)) % static_cast<uint64_t>(inc) != 0) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': value %s does not lie on the increment %s from the minimum %s",
                                     mName.data(), FormatInt(x).c_str(), FormatInt(inc).c_str(),
                                     FormatInt(min).c_str());
    }
}

std::string Node::TextValue(bool verify, bool ignoreCache)
{
    CheckReadable();
    return ReadText(verify, ignoreCache);
}

void Node::WriteText(const std::string& text, bool verify)
{
    CheckWritable();
    WriteTextValue(text, verify);
    mMap.NotifyChanged(*this);
}

int64_t Node::MaxTextLength() { return 0; }

std::string Node::ReadText(bool, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' has no text value", mName.data());
}

void Node::WriteTextValue(const std::string&, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' has no text value to write", mName.data());
}

Number Node::ReadNumber(bool, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' has no numeric value", mName.data());
}

void Node::WriteNumber(Number, bool)
{
    throw LOGICAL_ERROR_EXCEPTION("Node '%s' has no numeric value to write", mName.data());
}

} // namespace Detail
} // namespace GenApi
