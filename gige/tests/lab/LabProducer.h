// The GigE Vision producer as a host meets it: loaded by path from bin/gige
// beside the test program, its operations resolved by name. Loaded once and
// kept for the life of the process.
#pragma once

#include "TLI.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Lab {

struct Producer {
    decltype(&::TLOpen) TLOpen = nullptr;
    decltype(&::TLClose) TLClose = nullptr;
    decltype(&::TLGetNumInterfaces) TLGetNumInterfaces = nullptr;
    decltype(&::TLGetInterfaceName) TLGetInterfaceName = nullptr;
    decltype(&::TLOpenInterface) TLOpenInterface = nullptr;
    decltype(&::TLCloseInterface) TLCloseInterface = nullptr;
    decltype(&::TLGetNumDevices) TLGetNumDevices = nullptr;
    decltype(&::TLGetDeviceName) TLGetDeviceName = nullptr;
    decltype(&::TLOpenDevice) TLOpenDevice = nullptr;
    decltype(&::DevClose) DevClose = nullptr;
    decltype(&::DevGetInfo) DevGetInfo = nullptr;
    decltype(&::GCGetURL) GCGetURL = nullptr;
    decltype(&::GCReadData) GCReadData = nullptr;
    decltype(&::GCWriteData) GCWriteData = nullptr;
    decltype(&::DevCreateDataStream) DevCreateDataStream = nullptr;
    decltype(&::DSClose) DSClose = nullptr;
    decltype(&::GCGetLastError) GCGetLastError = nullptr;
};

// Fails the test when the producer cannot be loaded or lacks an operation.
const Producer& Load();

// The calling thread's last failure text.
std::string LastError();

// Helpers over the operations; each fails the test on an unexpected code.
std::vector<std::string> InterfaceNames(TL_HANDLE library);
std::vector<std::string> DeviceNames(IF_HANDLE iface);
std::string DeviceInfo(DEV_HANDLE device, std::int32_t command);
std::uint32_t ReadRegister(DEV_HANDLE device, std::uint32_t address);

// The interface the lab gives the host, and its fake camera.
inline const std::string HostInterface = "kxhost0 (169.254.100.2/16)";
inline const std::string Camera = "Aravis Fake (GV01)";

// Runs "tools/gige-lab.sh ARGUMENTS" (from inside kxhost the script still
// reaches the whole lab); false when it fails.
bool LabScript(const std::string& arguments);

}
