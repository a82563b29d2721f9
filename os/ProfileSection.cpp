#include "os/Profile.h"

namespace Os {

namespace {

// Only ASCII letters: the result must not depend on the host's locale.
std::string Lower(const std::string& name)
{
    std::string lower = name;
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

}

bool ProfileSection::Find(const std::string& key, std::string& value) const
{
    const auto found = mValues.find(Lower(key));
    if (found == mValues.end() || !found->second) {
        return false;
    }
    value = *found->second;
    return true;
}

void ProfileSection::Add(const std::string& key, std::optional<std::string> value)
{
    mValues.emplace(Lower(key), std::move(value));
}

}
