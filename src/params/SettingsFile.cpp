#include "params/SettingsFile.h"

#include "diag/DriverContext.h"
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

void SettingsFile::Load()
{
    // Reading a pipe would wait for a writer, for ever.
    if (IsNonRegular()) {
        Log(1, "SettingsFile::Load: WARNING: %s is not a regular file; it is not read and the defaults are used\n",
            mPath.c_str());
        return;
    }
    std::vector<Os::ProfileSection> sections =
        Os::ReadProfileSections({GeneralSection, mSection}, mPath, ValueBufferSize);
    mGeneralKeys = std::move(sections[0]);
    mSectionKeys = std::move(sections[1]);
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
    // A key the file does not hold leaves the value: its text converts back to it.
    std::string text = param.ToString();
    (param.mGeneral ? mGeneralKeys : mSectionKeys).Find(param.mName, text);
    param.FromString(text.c_str(), param.mGeneral);
}

std::vector<const Param_*> SettingsFile::WriteParams(const std::vector<Param_*>& params) const
{
    std::vector<const Param_*> failed;
    std::vector<const Param_*> written;
    std::vector<Os::ProfileKey> keys;
    for (Param_* param : params) {
        if (!param->mEnabled) {
            continue;
        }
        const std::string value = param->ToString();
        // A line break would end the value early and turn the rest into other keys.
        if (value.find_first_of("\r\n") != std::string::npos) {
            failed.push_back(param);
            continue;
        }
        keys.push_back({SectionOf(*param), param->mName, value});
        written.push_back(param);
    }
    for (std::size_t index : Os::WriteProfileStrings(keys, mPath)) {
        failed.push_back(written[index]);
    }
    return failed;
}
