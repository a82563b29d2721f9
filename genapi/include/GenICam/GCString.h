// gcstring: the text type of the node-map interfaces. It owns a std::string and
// converts to and from the usual C and C++ text types at every call.
#ifndef GENICAM_GCSTRING_H
#define GENICAM_GCSTRING_H

#include <cstddef>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace GenICam {

class gcstring {
public:
    static constexpr std::size_t _npos = std::string::npos;

    gcstring() = default;
    gcstring(const char* text) : mText(text ? text : "") {}
    gcstring(const char* text, std::size_t count) : mText(text ? text : "", text ? count : 0) {}
    gcstring(const std::string& text) : mText(text) {}
    gcstring(std::string&& text) : mText(std::move(text)) {}
    gcstring(std::size_t count, char c) : mText(count, c) {}

    const char* c_str() const noexcept { return mText.c_str(); }
    std::size_t length() const noexcept { return mText.length(); }
    std::size_t size() const noexcept { return mText.size(); }
    bool empty() const noexcept { return mText.empty(); }
    void clear() noexcept { mText.clear(); }
    const std::string& str() const noexcept { return mText; }

    operator std::string() const& { return mText; }
    operator std::string() && { return std::move(mText); }

    std::size_t find(const gcstring& what, std::size_t pos = 0) const { return mText.find(what.mText, pos); }
    std::size_t find(char c, std::size_t pos = 0) const { return mText.find(c, pos); }
    gcstring substr(std::size_t pos = 0, std::size_t count = _npos) const { return mText.substr(pos, count); }
    char operator[](std::size_t index) const { return mText[index]; }

    gcstring& operator+=(const gcstring& other) { mText += other.mText; return *this; }
    gcstring& operator+=(const char* other) { mText += other ? other : ""; return *this; }
    gcstring& operator+=(char c) { mText += c; return *this; }

    friend bool operator==(const gcstring& a, const gcstring& b) { return a.mText == b.mText; }
    friend bool operator!=(const gcstring& a, const gcstring& b) { return a.mText != b.mText; }
    friend bool operator<(const gcstring& a, const gcstring& b) { return a.mText < b.mText; }
    friend bool operator>(const gcstring& a, const gcstring& b) { return a.mText > b.mText; }
    friend bool operator<=(const gcstring& a, const gcstring& b) { return a.mText <= b.mText; }
    friend bool operator>=(const gcstring& a, const gcstring& b) { return a.mText >= b.mText; }
    friend bool operator==(const gcstring& a, const char* b) { return a.mText == (b ? b : ""); }
    friend bool operator!=(const gcstring& a, const char* b) { return !(a == b); }
    friend bool operator==(const char* a, const gcstring& b) { return b == a; }
    friend bool operator!=(const char* a, const gcstring& b) { return !(b == a); }
    friend bool operator==(const gcstring& a, const std::string& b) { return a.mText == b; }
    friend bool operator!=(const gcstring& a, const std::string& b) { return a.mText != b; }
    friend bool operator==(const std::string& a, const gcstring& b) { return a == b.mText; }
    friend bool operator!=(const std::string& a, const gcstring& b) { return a != b.mText; }

    friend gcstring operator+(const gcstring& a, const gcstring& b) { return a.mText + b.mText; }
    friend gcstring operator+(const gcstring& a, const char* b) { return a.mText + (b ? b : ""); }
    friend gcstring operator+(const char* a, const gcstring& b) { return (a ? a : "") + b.mText; }

private:
    std::string mText;
};

std::ostream& operator<<(std::ostream& stream, const gcstring& text);
std::istream& operator>>(std::istream& stream, gcstring& text);

using gcstring_vector = std::vector<gcstring>;

} // namespace GenICam

#endif
