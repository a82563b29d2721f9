#include "discovery/CameraNames.h"

#include "common/Texts.h"

#include <map>

namespace Gige {

namespace {

// Rounds of appending before a name falls back to the MAC and IP alone. One
// round settles every list but those where MACs repeat or a user-defined
// name copies another camera's name with its MAC appended.
constexpr int UniqueRounds = 4;

}

std::string CleanField(const std::string& field)
{
    std::string clean;
    clean.reserve(field.size());
    for (const char c : field) {
        const auto byte = static_cast<unsigned char>(c);
        char mapped = c;
        if (byte < 0x20 || byte == 0x7F)
            mapped = ' ';
        else if (c == '[')
            mapped = '(';
        else if (c == ']')
            mapped = ')';
        if (mapped == ' ' && (clean.empty() || clean.back() == ' '))
            continue;
        clean.push_back(mapped);
    }
    if (!clean.empty() && clean.back() == ' ')
        clean.pop_back();
    return clean;
}

std::string BaseName(const DeviceInfo& info)
{
    const std::string user = CleanField(info.mUserName);
    if (!user.empty())
        return user;
    const std::string manufacturer = CleanField(info.mManufacturer);
    const std::string model = CleanField(info.mModel);
    std::string name = manufacturer;
    if (!model.empty())
        name += (name.empty() ? "" : " ") + model;
    if (name.empty())
        name = "GigE Vision camera";
    const std::string serial = CleanField(info.mSerial);
    return name + " (" + (serial.empty() ? FormatMac(info.mMac) : serial) + ")";
}

void MakeNamesUnique(std::vector<std::string>& names, const std::vector<CameraIdentity>& cameras)
{
    for (int round = 0; round <= UniqueRounds; ++round) {
        std::map<std::string, int> uses;
        for (const std::string& name : names)
            ++uses[name];
        bool repeated = false;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (uses[names[i]] < 2)
                continue;
            repeated = true;
            const CameraIdentity& camera = cameras[i];
            if (round == 0)
                names[i] += " (" + FormatMac(camera.mMac) + ")";
            else if (round < UniqueRounds)
                names[i] += " (" + FormatIp(camera.mIp) + ")";
            else
                // Unique, and no base name looks like it: no user-defined
                // name (16 bytes) is that long, and the others end in ")".
                names[i] = FormatMac(camera.mMac) + " " + FormatIp(camera.mIp);
        }
        if (!repeated)
            return;
    }
}

}
