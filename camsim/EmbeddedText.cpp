#include "camsim/EmbeddedFiles.h"

namespace CamSim {

std::string EmbeddedText(const std::string& name)
{
    for (const EmbeddedFile& file : EmbeddedFiles())
        if (name == file.mName)
            return std::string(reinterpret_cast<const char*>(file.mData), file.mSize);
    return {};
}

}
