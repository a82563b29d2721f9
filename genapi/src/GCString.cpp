#include <GenICam/GCString.h>

#include <istream>
#include <ostream>

namespace GenICam {

std::ostream& operator<<(std::ostream& stream, const gcstring& text) { return stream << text.str(); }

std::istream& operator>>(std::istream& stream, gcstring& text)
{
    std::string word;
    stream >> word;
    text = word;
    return stream;
}

} // namespace GenICam
