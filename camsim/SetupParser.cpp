#include "camsim/CameraModel.h"
#include "camsim/Names.h"
#include "camsim/Setup.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace CamSim {

namespace {

std::string Trim(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::optional<std::uint32_t> ParseNumber(const std::string& text)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

class Parser {
public:
    Parser(const std::string& source, std::string& error) : mSource(source), mError(error) {}

    std::optional<Setup> Run(const std::string& text)
    {
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            ++mLine;
            if (!ParseLine(Trim(line)))
                return std::nullopt;
        }
        if (!FinishSection())
            return std::nullopt;
        return mSetup;
    }

private:
    enum class Section { None, Interface, Device };

    bool Fail(const std::string& reason)
    {
        mError = mSource + ":" + std::to_string(mLine) + ": " + reason;
        return false;
    }

    bool ParseLine(const std::string& line)
    {
        if (line.empty() || line[0] == '#' || line[0] == ';')
            return true;
        if (line.front() == '[') {
            if (line.back() != ']')
                return Fail("section header without \"]\"");
            return StartSection(Trim(line.substr(1, line.size() - 2)));
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            return Fail("expected \"key = value\"");
        return SetKey(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }

    bool StartSection(const std::string& name)
    {
        if (!FinishSection())
            return false;
        if (name == "interface") {
            mSection = Section::Interface;
            mSetup.mInterfaces.push_back(InterfaceSetup{});
            mSetup.mInterfaces.back().mLine = mLine;
            return true;
        }
        if (name == "device") {
            if (mSetup.mInterfaces.empty())
                return Fail("[device] before any [interface]");
            mSection = Section::Device;
            mSetup.mInterfaces.back().mDevices.push_back(DeviceSetup{});
            mSetup.mInterfaces.back().mDevices.back().mLine = mLine;
            return true;
        }
        return Fail("unknown section [" + name + "]");
    }

    // Checks the section just ended for what it must hold.
    bool FinishSection()
    {
        if (mSection == Section::Interface) {
            const InterfaceSetup& iface = mSetup.mInterfaces.back();
            if (iface.mName.empty())
                return FailAt(iface.mLine, "[interface] without a name");
            for (std::size_t i = 0; i + 1 < mSetup.mInterfaces.size(); ++i)
                if (mSetup.mInterfaces[i].mName == iface.mName)
                    return FailAt(iface.mLine, "interface name \"" + iface.mName + "\" used twice");
        } else if (mSection == Section::Device) {
            const DeviceSetup& device = mSetup.mInterfaces.back().mDevices.back();
            if (device.mModel.empty())
                return FailAt(device.mLine, "[device] without a model");
        }
        mSection = Section::None;
        mKeys.clear();
        return true;
    }

    bool FailAt(int line, const std::string& reason)
    {
        mLine = line;
        return Fail(reason);
    }

    bool SetKey(const std::string& key, const std::string& value)
    {
        if (mSection == Section::None)
            return Fail("\"" + key + "\" outside a section");
        for (const std::string& seen : mKeys)
            if (seen == key)
                return Fail("\"" + key + "\" given twice");
        mKeys.push_back(key);
        return mSection == Section::Interface ? SetInterfaceKey(key, value) : SetDeviceKey(key, value);
    }

    bool SetInterfaceKey(const std::string& key, const std::string& value)
    {
        InterfaceSetup& iface = mSetup.mInterfaces.back();
        if (key == "name") {
            if (!IsValidInterfaceName(value))
                return Fail("invalid interface name \"" + value + "\"");
            iface.mName = value;
            return true;
        }
        if (key == "mtu") {
            const auto mtu = ParseNumber(value);
            if (!mtu || *mtu < 576 || *mtu > 65535)
                return Fail("MTU \"" + value + "\" is not a number from 576 to 65535");
            iface.mMtu = *mtu;
            return true;
        }
        return Fail("unknown interface key \"" + key + "\"");
    }

    bool SetDeviceKey(const std::string& key, const std::string& value)
    {
        DeviceSetup& device = mSetup.mInterfaces.back().mDevices.back();
        if (key == "model") {
            if (FindModel(value) == nullptr)
                return Fail("unknown model \"" + value + "\"");
            device.mModel = value;
            return true;
        }
        if (key == "name") {
            if (!IsValidDeviceName(value))
                return Fail("invalid device name \"" + value + "\"");
            device.mName = value;
            return true;
        }
        if (key == "serial") {
            device.mSerial = ParseNumber(value);
            if (!device.mSerial)
                return Fail("serial number \"" + value + "\" is not a 32-bit decimal number");
            return true;
        }
        if (key == "description") {
            const auto form = ParseDescriptionForm(value);
            if (!form)
                return Fail("description form \"" + value +
                            "\" is none of zipped, unzipped, file, file-zipped, invalid-prefix, corrupt");
            device.mDescription = *form;
            return true;
        }
        if (key == "privilege") {
            device.mPrivilege = ParseNumber(value);
            if (!device.mPrivilege || *device.mPrivilege > 3)
                return Fail("privilege \"" + value + "\" is not 0, 1, 2 or 3");
            return true;
        }
        if (key == "packet-size") {
            device.mPacketSize = ParseNumber(value);
            if (!device.mPacketSize || *device.mPacketSize < 576 || *device.mPacketSize > 65535)
                return Fail("packet size \"" + value + "\" is not a number from 576 to 65535");
            return true;
        }
        if (key == "pacing") {
            if (value != "frame-rate" && value != "none")
                return Fail("pacing \"" + value + "\" is neither frame-rate nor none");
            device.mUnpaced = value == "none";
            return true;
        }
        return Fail("unknown device key \"" + key + "\"");
    }

    const std::string& mSource;
    std::string& mError;
    Setup mSetup;
    Section mSection = Section::None;
    std::vector<std::string> mKeys;
    int mLine = 0;
};

}

std::optional<Setup> ParseSetup(const std::string& text, const std::string& source, std::string& error)
{
    return Parser(source, error).Run(text);
}

}
