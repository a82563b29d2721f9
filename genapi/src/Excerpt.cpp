#include "Excerpt.h"

namespace GenApi {
namespace Detail {

std::string Excerpt(std::string_view text)
{
    if (text.size() <= kMaxExcerpt) {
        return std::string(text);
    }
    std::size_t cut = kMaxExcerpt;
    // Back to the first byte of a character: continuation bytes are 10xxxxxx.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " characters)";
}

} // namespace Detail
} // namespace GenApi
