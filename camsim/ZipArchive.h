// A zip archive with one deflated entry, made in memory: how cameras ship
// their descriptions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace CamSim {

// Raises std::runtime_error when zlib fails.
std::vector<std::uint8_t> MakeZipArchive(const std::string& entryName, const std::string& content);

// Where the entry's compressed data starts in an archive MakeZipArchive made.
std::size_t ZipEntryDataOffset(const std::string& entryName);

}
