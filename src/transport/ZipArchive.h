// Zipped camera descriptions, unpacked from memory: nothing touches the disk.
#pragma once

#include <cstddef>
#include <string>

namespace Kavrix {

// Descriptions and archive entries larger than this are refused rather than
// allocated: real descriptions are a few megabytes at most.
constexpr std::size_t MaxDescriptionSize = 64u * 1024u * 1024u;

// The whole first entry of the zip archive in data; other entries are
// ignored. Raises "Device::GetXml: Invalid zipped XML" for anything but a
// complete, intact entry, and "Device::GetXml: Out of memory" for an entry
// larger than MaxDescriptionSize or when the memory for it cannot be had.
std::string UnzipFirstEntry(const void* data, std::size_t size);

}
