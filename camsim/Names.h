// Rules for the names of simulated cameras and interfaces, and how their
// addresses are written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace CamSim {

// A device name is the camera name a host shows and uses as an INI section
// name: printable, no "[" or "]", no blanks at either end, shorter than the
// 256-byte buffers a driver passes.
bool IsValidDeviceName(const std::string& name);
// An interface name: printable and shorter than 256 bytes.
bool IsValidInterfaceName(const std::string& name);

std::string FormatIpAddress(std::uint32_t address);
// The address in an interface name of the form "eth1 (192.168.20.1/24)".
std::optional<std::uint32_t> FindIpAddress(const std::string& interfaceName);
std::string FormatMacAddress(std::uint64_t address);

}
