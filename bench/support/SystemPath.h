// A system path of a benchmark's own: a new folder whose Kavrix.ini holds the
// given settings, removed again at the end.
#pragma once

#include "support/TestSupport.h"

#include <initializer_list>
#include <string>

namespace Bench {

constexpr const char Kx1300[] = "Kavrix KX-1300-60gm (21810742)";
constexpr const char Kx5000[] = "Kavrix KX-5000-24gm (21810743)";

// One Kavrix.ini entry.
struct Setting {
    const char* mSection;
    const char* mKey;
    std::string mValue;
};

class SystemPath {
public:
    // Raises when Kavrix.ini cannot be written.
    explicit SystemPath(std::initializer_list<Setting> settings);
    const std::string& Path() const { return mFolder.Path(); }

private:
    TestSupport::TempFolder mFolder;
};

}
