// Validation of a camera's parameters: constraints first, then range and
// step of every enabled parameter; the first problem is reported.
#include "params/CameraParameters.h"

#include "diag/DriverContext.h"
#include "params/ParamEnum.h"

#include <cstdint>
#include <locale>
#include <sstream>
#include <typeinfo>

namespace {

std::ostringstream MessageStream(const Param_& param)
{
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << param.mCategory << ": " << param.mName << ": ";
    return text;
}

// Booleans have no range; nor have texts: their range is the value they were
// made with, which any other text would leave.
bool HasRange(const Param_& param)
{
    return typeid(param) != typeid(Param<bool>) && typeid(param) != typeid(Param<std::string>);
}

// Height under vertical binning: at most half the camera's maximum.
bool CheckBinnedHeight(const Param<int>& height, std::string& error)
{
    const std::int64_t min = height.mMin;
    const std::int64_t max = height.mMax / 2;
    const std::int64_t value = height.mValue;
    std::ostringstream text = MessageStream(height);
    if (value < min || value > max) {
        text << "out of range [" << min << ".." << max << "]";
    } else if (height.mIncrement != 0 && (value - min) % height.mIncrement != 0) {
        text << "must be multiple of " << height.mIncrement;
    } else {
        return true;
    }
    error = text.str();
    return false;
}

bool CheckParam(Param_& param, std::string& error)
{
    std::ostringstream text = MessageStream(param);
    if (!param.IsInRange()) {
        text << "out of range ";
        param.PrintRange(text);
        error = text.str();
        return false;
    }
    const auto* number = dynamic_cast<const Param<int>*>(&param);
    // In 64 bits: mValue - mMin can leave the 32-bit range.
    if (number != nullptr && number->mIncrement != 0 &&
        (std::int64_t{number->mValue} - number->mMin) % number->mIncrement != 0) {
        text << "must go in increments of " << number->mIncrement << " starting from minValue=" << number->mMin;
        error = text.str();
        return false;
    }
    return true;
}

}

bool CameraParameters::IsVerticalBinning() const
{
    if (HasParam("Binning")) {
        const auto* binning = dynamic_cast<const ParamEnum*>(GetParam("Binning"));
        return binning != nullptr && binning->mValue == "V_Binning";
    }
    if (HasParam("BinningVertical")) {
        const auto* binning = dynamic_cast<const Param<int>*>(GetParam("BinningVertical"));
        return binning != nullptr && binning->mValue != 1;
    }
    return false;
}

bool CameraParameters::Validate(std::string& error)
{
    try {
        for (const auto& constraint : mConstraints) {
            constraint->Apply(*this);
        }
    } catch (const std::exception& e) {
        Log(1, "CameraParameters::Validate: Failed to apply constraints due: %s", e.what());
    }
    const bool binned = IsVerticalBinning();
    for (const auto& param : mParams) {
        if (!param->mEnabled || !HasRange(*param)) {
            continue;
        }
        const auto* number = dynamic_cast<const Param<int>*>(param.get());
        if (param->mName == "Height" && binned && number != nullptr) {
            if (!CheckBinnedHeight(*number, error)) {
                return false;
            }
            continue;
        }
        if (!CheckParam(*param, error)) {
            return false;
        }
    }
    return true;
}
