// The set of interfaces and cameras a simulation starts with: the embedded
// default, or what a configuration file describes (format in tli/README.md).
// The simulated producer serves them in-process, the test camera
// (kavrix-gige-camera) on the network.
#pragma once

#include "camsim/CameraModel.h"
#include "camsim/ServedDescription.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace CamSim {

struct DeviceSetup {
    std::string mModel;
    std::string mName;                       // empty: derived from model and serial
    std::optional<std::uint32_t> mSerial;    // none: derived
    DescriptionForm mDescription = DescriptionForm::Zipped;
    std::optional<std::uint32_t> mPrivilege; // none: as the open asks
    std::optional<std::uint32_t> mPacketSize;
    bool mUnpaced = false;
    int mLine = 0;                           // where the configuration file defines it
};

struct InterfaceSetup {
    std::string mName;
    std::uint32_t mMtu = 1500;
    std::vector<DeviceSetup> mDevices;
    int mLine = 0;
};

struct Setup {
    std::vector<InterfaceSetup> mInterfaces;
};

Setup DefaultSetup();

// The name and serial number of a device: as its setup gives them, else
// derived from the model and the device's position among the devices made
// so far: serials count from 21810742, names are "Kavrix <model> (<serial>)".
struct DeviceIdentity {
    std::string mName;
    std::uint32_t mSerial;
};
DeviceIdentity IdentityOf(const DeviceSetup& setup, const CameraModel& model, std::uint32_t position);

// The set a configuration text describes; on a fault, error becomes
// "<source>:<line>: <reason>" and the result is empty.
std::optional<Setup> ParseSetup(const std::string& text, const std::string& source, std::string& error);

// The set from the file (a null or empty path: the default); a file that
// cannot be read or parsed gives the default and the reason in error.
Setup LoadSetup(const std::string& path, std::string& error);

}
