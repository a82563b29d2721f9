// The settings file "Kavrix.ini" in the host's system path, in the
// private-profile format: one section per camera, named after it, and the
// section "General" for the driver settings. Load reads both sections in one
// pass over the file and the parameters are then found in memory; writing
// stores every key in one pass. Anything but a regular file at the path (a
// pipe, a folder, a device) is neither read nor written.
#pragma once

#include "os/Profile.h"
#include "params/Param_.h"

#include <string>
#include <vector>

class SettingsFile {
public:
    // The file in the current system path, and the camera's section; nothing
    // is read yet.
    explicit SettingsFile(const std::string& section);

    // Reads "General" and the camera's section. A path that holds no regular
    // file is logged and read as an empty file: every value stays.
    void Load();
    // From what Load read. Nothing for a disabled parameter. A driver
    // setting is read from "General" and brought into its range; a camera
    // parameter is read as stored, for validation to judge.
    void ReadParam(Param_& param) const;
    // Writes the enabled parameters in one pass; the ones that could not be
    // written, or hold a line break that would cut their value.
    std::vector<const Param_*> WriteParams(const std::vector<Param_*>& params) const;

    bool IsNonRegular() const { return Os::IsNonRegularFile(mPath); }
    // The section the parameter lives in.
    std::string SectionOf(const Param_& param) const;
    const std::string& GetPath() const { return mPath; }

private:
    std::string mPath;
    std::string mSection;
    Os::ProfileSection mGeneralKeys;
    Os::ProfileSection mSectionKeys;
};
