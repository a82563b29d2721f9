#include "params/SettingsFile.h"

#include "diag/DriverContext.h"
#include "os/Profile.h"
#include "os/System.h"

namespace {

const char GeneralSection[] = "General";
// The private-profile functions' buffer: values come back cut to 255 characters.
constexpr std::size_t ValueBufferSize = 256;

}

SettingsFile::SettingsFile(const std::string& section)
    : mPath(DriverContext::Instance().GetSystemPath() + Os::PathSeparator + "Kavrix.ini"), mSection(section)
{
}

std::string SettingsFile::Read(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const
{
    return Os::ReadProfileString(section, key, defaultValue, mPath, ValueBufferSize);
}

bool SettingsFile::Write(const std::string& section, const std::string& key, const std::string& value) const
{
    return Os::WriteProfileString(section, key, value, mPath);
}

std::string SettingsFile::SectionOf(const Param_& param) const
{
    return param.mGeneral ? GeneralSection : mSection;
}

void SettingsFile::ReadParam(Param_& param) const
{
    if (!param.mEnabled) {
        return;
    }
    const std::string current = param.ToString();
    const std::string text = Read(SectionOf(param), param.mName, current);
    param.FromString(text.c_str(), param.mGeneral);
}

bool SettingsFile::WriteParam(Param_& param) const
{
    if (!param.mEnabled) {
        return true;
    }
    const std::string value = param.ToString();
    // A line break would end the value early and turn the rest into other keys.
    if (value.find_first_of("\r\n") != std::string::npos) {
        return false;
    }
    return Write(SectionOf(param), param.mName, value);
}
