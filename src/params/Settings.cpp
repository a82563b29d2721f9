// Reading and writing a camera's parameters in the settings file.
#include "params/CameraParameters.h"

#include "diag/DriverContext.h"
#include "params/SettingsFile.h"

bool CameraParameters::ReadSettings()
{
    SettingsFile file(mInfo.name);
    file.Load();
    return ReadSettings(file);
}

bool CameraParameters::ReadSettings(const SettingsFile& file)
{
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
    if (file.IsNonRegular()) {
        Log(1, "CameraParameters::WriteSettings: ERROR: %s is not a regular file; the settings are not written\n",
            file.GetPath().c_str());
        return;
    }
    std::vector<Param_*> persistent;
    for (const auto& param : mParams) {
        if (param->mPersistent) {
            persistent.push_back(param.get());
        }
    }
    // A key that cannot be written is reported and the others still go in.
    for (const Param_* param : file.WriteParams(persistent)) {
        Log(1, "CameraParameters::WriteSettings: ERROR: could not write key %s of section %s to %s\n",
            param->mName.c_str(), file.SectionOf(*param).c_str(), file.GetPath().c_str());
    }
}
