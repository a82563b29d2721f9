// The settings file "Kavrix.ini" in the host's system path, in the
// private-profile format: one section per camera, named after it, and the
// section "General" for the driver settings. Opened, read or written and
// closed by each call; nothing is cached.
#pragma once

#include "params/Param_.h"

#include <string>

class SettingsFile {
public:
    // The file in the current system path, and the camera's section.
    explicit SettingsFile(const std::string& section);

    // The stored text, or defaultValue; at most 255 characters.
    std::string Read(const std::string& section, const std::string& key, const std::string& defaultValue) const;
    bool Write(const std::string& section, const std::string& key, const std::string& value) const;

    // Nothing for a disabled parameter. A driver setting is read from
    // "General" and brought into its range; a camera parameter is read as
    // stored, for validation to judge.
    void ReadParam(Param_& param) const;
    // Nothing (and true) for a disabled parameter; false when the value could
    // not be written, or holds a line break that would cut it.
    bool WriteParam(Param_& param) const;

    // The section the parameter lives in.
    std::string SectionOf(const Param_& param) const;
    const std::string& GetPath() const { return mPath; }

private:
    std::string mPath;
    std::string mSection;
};
