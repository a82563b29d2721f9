#include "support/SystemPath.h"

#include "os/Profile.h"

#include <stdexcept>

namespace Bench {

SystemPath::SystemPath(std::initializer_list<Setting> settings)
{
    const std::string file = mFolder.File("Kavrix.ini");
    for (const Setting& setting : settings) {
        if (!Os::WriteProfileString(setting.mSection, setting.mKey, setting.mValue, file)) {
            throw std::runtime_error("cannot write " + file);
        }
    }
}

}
