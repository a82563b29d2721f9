// Files built into the library: the camera descriptions of camsim/models.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace CamSim {

struct EmbeddedFile {
    const char* mName;   // file name without folder: "KavrixKX1300.xml"
    const unsigned char* mData;
    std::size_t mSize;
};

const std::vector<EmbeddedFile>& EmbeddedFiles();

// The file's bytes as text; empty when no file has that name.
std::string EmbeddedText(const std::string& name);

}
