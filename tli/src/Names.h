// Rules for the names the producer reports and the texts it hands out.
#pragma once

#include "TLI.h"

#include <cstdint>
#include <optional>
#include <string>

namespace Tli {

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

// Copies text with its terminating zero into the caller's buffer. *size is
// the buffer size on entry and the bytes used (or needed) on return; a null
// buffer asks for the size only; a buffer too small answers
// GC_ERR_INVALID_BUFFER_SIZE and copies nothing.
GC_ERROR CopyText(const std::string& text, char* buffer, std::size_t* size);

}
