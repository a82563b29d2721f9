#include "StringRegNode.h"

#include <algorithm>

#include <GenICam/GCException.h>

#include "NodeMap.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

std::string StringRegNode::ReadText(bool, bool ignoreCache)
{
    const std::vector<uint8_t> bytes = ReadBytes(ignoreCache);
    const auto end = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return std::string(bytes.begin(), end);
}

void StringRegNode::WriteTextValue(const std::string& text, bool)
{
    const int64_t length = Length();
    // Cutting the text would store something the host did not ask for.
    if (static_cast<int64_t>(text.size()) > length) {
        throw OUT_OF_RANGE_EXCEPTION("Node '%s': the text has %s characters, the register holds %s", mName.data(),
                                     FormatInt(static_cast<int64_t>(text.size())).c_str(), FormatInt(length).c_str());
    }
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length), 0);
    std::copy(text.begin(), text.end(), bytes.begin());
    WriteBytes(bytes);
}

gcstring StringRegNode::GetValue(bool Verify, bool IgnoreCache)
{
    MapLock lock(mMap);
    return TextValue(Verify, IgnoreCache);
}

void StringRegNode::SetValue(const gcstring& Value, bool Verify)
{
    MapLock lock(mMap);
    WriteText(Value.str(), Verify);
}

int64_t StringRegNode::GetMaxLength()
{
    MapLock lock(mMap);
    return Length();
}

} // namespace Detail
} // namespace GenApi
