#include "camsim/ServedDescription.h"

#include "camsim/ZipArchive.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace CamSim {

namespace {

std::string Hex(std::size_t value)
{
    char text[20];
    std::snprintf(text, sizeof text, "%zx", value);
    return text;
}

std::string LocalUrl(const std::string& fileName, std::size_t length)
{
    return "local:" + fileName + ";" + Hex(DescriptionAddress) + ";" + Hex(length);
}

std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

}

std::optional<DescriptionForm> ParseDescriptionForm(const std::string& word)
{
    static const std::map<std::string, DescriptionForm> forms = {
        {"zipped", DescriptionForm::Zipped},         {"unzipped", DescriptionForm::Unzipped},
        {"file", DescriptionForm::File},             {"file-zipped", DescriptionForm::FileZipped},
        {"invalid-prefix", DescriptionForm::InvalidPrefix}, {"corrupt", DescriptionForm::Corrupt}};
    const auto found = forms.find(word);
    if (found == forms.end())
        return std::nullopt;
    return found->second;
}

const std::vector<std::uint8_t>& ZippedDescription(const CameraModel& model)
{
    static std::mutex mutex;
    static std::map<const CameraModel*, std::vector<std::uint8_t>> archives;
    const std::string& text = model.Description();
    std::lock_guard<std::mutex> lock(mutex);
    auto found = archives.find(&model);
    if (found == archives.end())
        found = archives.emplace(&model, MakeZipArchive(std::string(model.mFileName) + ".xml", text)).first;
    return found->second;
}

ServedDescription ServeDescription(const CameraModel& model, DescriptionForm form)
{
    const std::string base = model.mFileName;
    const std::string& text = model.Description();
    switch (form) {
    case DescriptionForm::Zipped: {
        const auto& zip = ZippedDescription(model);
        return {LocalUrl(base + ".zip", zip.size()), zip};
    }
    case DescriptionForm::Unzipped:
        return {LocalUrl(base + ".xml", text.size()), Bytes(text)};
    case DescriptionForm::File:
        return {"file:" + base + ".xml", Bytes(text)};
    case DescriptionForm::FileZipped:
        return {"file:" + base + ".zip", ZippedDescription(model)};
    case DescriptionForm::InvalidPrefix:
        return {"http://www.kavrix.com/genicam/" + base + ".zip", ZippedDescription(model)};
    case DescriptionForm::Corrupt: {
        std::vector<std::uint8_t> zip = ZippedDescription(model);
        // A deflate block of the reserved type 3: every inflater stops there
        // with a data error, while headers and directory stay intact.
        zip[ZipEntryDataOffset(base + ".xml")] = 0x07;
        return {LocalUrl(base + ".zip", zip.size()), std::move(zip)};
    }
    }
    return {};
}

}
