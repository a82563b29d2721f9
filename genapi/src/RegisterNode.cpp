#include "RegisterNode.h"

#include <cctype>

#include <GenICam/GCException.h>

#include "NodeMap.h"
#include "NumberText.h"

namespace GenApi {
namespace Detail {

gcstring RegisterNode::ToString(bool, bool IgnoreCache)
{
    MapLock lock(mMap);
    CheckReadable();
    static const char digits[] = "0123456789abcdef";
    const std::vector<uint8_t> bytes = ReadBytes(IgnoreCache);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    return text;
}

void RegisterNode::FromString(const gcstring& ValueStr, bool Verify)
{
    std::string_view text = Trim(ValueStr.str());
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    std::vector<uint8_t> bytes;
    auto digit = [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
    };
    bool valid = text.size() % 2 == 0;
    for (std::size_t i = 0; valid && i < text.size(); i += 2) {
        valid = std::isxdigit(static_cast<unsigned char>(text[i])) && std::isxdigit(static_cast<unsigned char>(text[i + 1]));
        bytes.push_back(static_cast<uint8_t>(digit(text[i]) * 16 + digit(text[i + 1])));
    }
    if (!valid) {
        throw INVALID_ARGUMENT_EXCEPTION("Node '%s': '%s' is not a sequence of hexadecimal bytes", mName.data(),
                                         ValueStr.c_str());
    }
    Set(bytes.data(), static_cast<int64_t>(bytes.size()), Verify);
}

} // namespace Detail
} // namespace GenApi
