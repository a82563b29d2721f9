// Reading and writing a camera's parameters in the settings file.
#include "params/CameraParameters.h"

#include "diag/DriverContext.h"
#include "params/SettingsFile.h"

bool CameraParameters::ReadSettings()
{
    const SettingsFile file(mInfo.name);
    for (const auto& param : mParams) {
        if (param->mPersistent) {
            file.ReadParam(*param);
        }
    }
    return true;
}

void CameraParameters::WriteSettings()
{
    const SettingsFile file(mInfo.name);
    for (const auto& param : mParams) {
        // A key that cannot be written is reported and the others still go in.
        if (param->mPersistent && !file.WriteParam(*param)) {
            Log(1, "CameraParameters::WriteSettings: ERROR: could not write key %s of section %s to %s\n",
                param->mName.c_str(), file.SectionOf(*param).c_str(), file.GetPath().c_str());
        }
    }
}
