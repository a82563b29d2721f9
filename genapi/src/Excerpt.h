// Description text quoted in an error: a formula or a value may run to
// hundreds of kilobytes on one line, which no log should carry whole.
#ifndef GENAPI_DETAIL_EXCERPT_H
#define GENAPI_DETAIL_EXCERPT_H

#include <cstddef>
#include <string>
#include <string_view>

namespace GenApi {
namespace Detail {

constexpr std::size_t kMaxExcerpt = 200;

// The text itself when short; else its first 200 or so bytes (never cutting
// a UTF-8 character), "..." and how long the whole text is.
std::string Excerpt(std::string_view text);

} // namespace Detail
} // namespace GenApi

#endif
