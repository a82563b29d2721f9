#include "discovery/CameraNames.h"

#include "common/Texts.h"

#include <map>

namespace Gige {

namespace {

// Rounds of appending before a name falls back to the MAC alone. One round
// settles every list but those where a user-defined name copies another
// camera's name with a MAC appended.
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

void MakeNamesUnique(std::vector<std::string>& names, const std::vector<MacAddress>& macs)
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
            // The MAC alone is unique and no user-defined name (16 bytes) is that long.
            names[i] = round < UniqueRounds ? names[i] + " (" + FormatMac(macs[i]) + ")" : FormatMac(macs[i]);
        }
        if (!repeated)
            return;
    }
}

}
