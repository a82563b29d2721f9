// Loads arbitrary bytes as a camera description, then visits and reads every
// node over a register memory of zeros. Anything but a GenICam exception
// (a crash, a hang, a leak, another exception) is a finding.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include <GenApi/GenApi.h>

namespace {

class ZeroPort final : public GenApi::IPort {
public:
    GenApi::EAccessMode GetAccessMode() const override { return GenApi::RW; }
    void Read(void* pBuffer, int64_t, int64_t Length) override { std::memset(pBuffer, 0, static_cast<std::size_t>(Length)); }
    // Writes are dropped: a description may name registers of many megabytes.
    void Write(const void*, int64_t, int64_t) override {}
};

void Exercise(GenApi::INode* node)
{
    using namespace GenApi;
    const EAccessMode mode = node->GetAccessMode();
    node->GetDisplayName();
    if (auto* category = dynamic_cast<ICategory*>(node)) {
        FeatureList_t features;
        category->GetFeatures(features);
        return;
    }
    if (auto* enumeration = dynamic_cast<IEnumeration*>(node)) {
        NodeList_t entries;
        enumeration->GetEntries(entries);
        StringList_t symbolics;
        enumeration->GetSymbolics(symbolics);
    }
    if (auto* integer = dynamic_cast<IInteger*>(node)) {
        integer->GetMin();
        integer->GetMax();
        integer->GetInc();
    }
    if (auto* floating = dynamic_cast<IFloat*>(node)) {
        floating->GetMin();
        floating->GetMax();
    }
    if (auto* reg = dynamic_cast<IRegister*>(node)) {
        reg->GetAddress();
        reg->GetLength();
    }
    if (auto* command = dynamic_cast<ICommand*>(node)) {
        command->IsDone();
        return;
    }
    auto* value = dynamic_cast<IValue*>(node);
    if (value && IsReadable(mode)) {
        const gcstring text = value->ToString(true, true);
        if (IsWritable(mode)) {
            value->FromString(text);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    GenApi::CNodeMapRef map;
    try {
        map._LoadXMLFromString(GenICam::gcstring(reinterpret_cast<const char*>(data), size));
    } catch (const GenICam::GenericException&) {
        return 0;
    }
    ZeroPort port;
    GenApi::NodeList_t nodes;
    map._GetNodes(nodes);
    for (GenApi::INode* node : nodes) {
        if (dynamic_cast<GenApi::IPort*>(node)) {
            map._Connect(&port, node->GetName());
        }
    }
    for (GenApi::INode* node : nodes) {
        try {
            Exercise(node);
        } catch (const GenICam::GenericException&) {
            // Refusals are what the library is for; only other failures count.
        }
    }
    return 0;
}
