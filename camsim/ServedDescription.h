// How a camera hands its description to the host: the URL it reports and
// the bytes it keeps in its memory for a "local:" URL.
#pragma once

#include "camsim/CameraModel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace CamSim {

enum class DescriptionForm {
    Zipped,          // local:<file>.zip, a zip archive in camera memory (the default)
    Unzipped,        // local:<file>.xml, the text in camera memory
    File,            // file:<file>.xml, to be found in the GenICam installation
    FileZipped,      // file:<file>.zip
    InvalidPrefix,   // a URL form hosts do not know
    Corrupt          // local:<file>.zip, but the archive's data is damaged
};

// Where the description lies in camera memory.
constexpr std::uint64_t DescriptionAddress = 0x10000;

std::optional<DescriptionForm> ParseDescriptionForm(const std::string& word);

struct ServedDescription {
    std::string mUrl;
    std::vector<std::uint8_t> mMemory;
};

// Raises std::runtime_error when the archive cannot be made.
ServedDescription ServeDescription(const CameraModel& model, DescriptionForm form);

// The model's description as a zip archive (made once per model).
const std::vector<std::uint8_t>& ZippedDescription(const CameraModel& model);

}
