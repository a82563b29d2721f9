#include <GenICam/GCException.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>


namespace GenICam {

namespace {

// Only the file's own name: build folders mean nothing in a camera log.
const char* BaseName(const char* path)
{
    if (!path) {
        return "";
    }
    const char* base = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\') {
            base = p + 1;
        }
    }
    return base;
}

} // namespace

GenericException::GenericException(const char* description, const char* sourceFileName, unsigned int sourceLine)
    : GenericException(description, sourceFileName, sourceLine, "GenericException")
{
}

GenericException::GenericException(const char* description, const char* sourceFileName, unsigned int sourceLine,
                                   const char* typeName)
    : mDescription(description ? description : ""), mSourceFileName(BaseName(sourceFileName)), mSourceLine(sourceLine)
{
    mWhat = mDescription + " : " + typeName + " thrown (file '" + mSourceFileName + "', line " +
            std::to_string(mSourceLine) + ")";
}

std::string FormatDescription(const char* format, ...)
{
    if (!format) {
        return std::string();
    }
    va_list arguments;
    va_start(arguments, format);
    va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(arguments);
    return text;
}

} // namespace GenICam
