// Camera properties by name: a few fixed names the camera handles itself,
// and the camera's parameters, all as 32-bit ints at the host's interface.
#include "camera/Camera.h"

#include "diag/DriverContext.h"
#include "diag/Text.h"
#include "params/ParamEnum.h"
#include "transport/Device.h"

#include <cmath>
#include <limits>

namespace {

bool Is(const char* name, const char* fixed)
{
    for (; *name != '\0' && *fixed != '\0'; ++name, ++fixed) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(*name) != lower(*fixed)) {
            return false;
        }
    }
    return *name == *fixed;
}

bool IsContinuous(const char* name)
{
    return Is(name, "continuous") || Is(name, "continous");
}

// Toward zero, and into the int range: a camera float can be anything.
int TruncateToInt(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

// An enumeration at the int interface: entry values cut to their low 32 bits.
int Low32(std::int64_t value)
{
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

bool GetValue(Param_& param, int& value)
{
    if (auto* number = dynamic_cast<Param<int>*>(&param)) {
        value = number->mValue;
    } else if (auto* real = dynamic_cast<Param<double>*>(&param)) {
        value = TruncateToInt(real->mValue);
    } else if (auto* flag = dynamic_cast<Param<bool>*>(&param)) {
        value = flag->mValue ? 1 : 0;
    } else if (auto* entries = dynamic_cast<ParamEnum*>(&param)) {
        value = Low32(entries->GetIntValue());
    } else {
        return false;
    }
    return true;
}

bool SetValue(Param_& param, int value)
{
    if (auto* number = dynamic_cast<Param<int>*>(&param)) {
        number->mValue = value;
    } else if (auto* real = dynamic_cast<Param<double>*>(&param)) {
        real->mValue = value;
    } else if (auto* flag = dynamic_cast<Param<bool>*>(&param)) {
        flag->mValue = value != 0;
    } else if (auto* entries = dynamic_cast<ParamEnum*>(&param)) {
        // The first entry whose cut value is the int; none leaves the value.
        for (std::size_t i = 0; i < entries->mEntryValues.size(); ++i) {
            if (Low32(entries->mEntryValues[i]) == value) {
                entries->mValue = entries->mEntryNames[i];
                break;
            }
        }
    } else {
        return false;
    }
    return true;
}

bool GetLimits(Param_& param, int& minimum, int& maximum)
{
    if (auto* number = dynamic_cast<Param<int>*>(&param)) {
        minimum = number->mMin;
        maximum = number->mMax;
    } else if (auto* real = dynamic_cast<Param<double>*>(&param)) {
        minimum = TruncateToInt(real->mMin);
        maximum = TruncateToInt(real->mMax);
    } else if (dynamic_cast<Param<bool>*>(&param) != nullptr) {
        minimum = 0;
        maximum = 1;
    } else if (auto* entries = dynamic_cast<ParamEnum*>(&param)) {
        minimum = 0;
        maximum = 0;
        for (std::size_t i = 0; i < entries->mEntryValues.size(); ++i) {
            const int cut = Low32(entries->mEntryValues[i]);
            minimum = i == 0 || cut < minimum ? cut : minimum;
            maximum = i == 0 || cut > maximum ? cut : maximum;
        }
    } else {
        return false;
    }
    return true;
}

}

bool Camera::GetProperty(const char* name, int* value)
{
    Log(3, "Camera::GetProperty: prop=%s \n", Text::OrNull(name));
    if (name == nullptr || value == nullptr) {
        return false;
    }
    if (Is(name, "PixelSize")) {
        *value = mBitsPerPixel;
        Log(3, "Camera::GetProperty pixelsize=%d \n", *value);
        return true;
    }
    if (IsContinuous(name)) {
        *value = mContinuous ? 1 : 0;
        return true;
    }
    Control control(*this);
    if (!mParameters.HasParam(name)) {
        return false;
    }
    int result = 0;
    if (!GetValue(*mParameters.GetParam(name), result)) {
        return false;
    }
    *value = result;
    return true;
}

bool Camera::SetProperty(const char* name, int value)
{
    Log(3, "Camera::SetProperty: prop=%s value=%d \n", Text::OrNull(name), value);
    if (name == nullptr) {
        return false;
    }
    if (IsContinuous(name)) {
        SetContinuousGrab(value != 0);
        return true;
    }
    {
        Control control(*this);
        if (mParameters.HasParam(name)) {
            Param_& param = *mParameters.GetParam(name);
            if (!SetValue(param, value)) {
                return false;
            }
            return mDevice->ApplyParameter(param);
        }
    }
    if (Is(name, "Reset")) {
        return Reset();
    }
    if (Is(name, "PrintStats")) {
        PrintStats();
        return true;
    }
    if (Is(name, "ResetStats")) {
        ResetStats();
        return true;
    }
    if (Is(name, "LogTimings")) {
        DriverContext::Instance().mLogTimings = value != 0;
        return true;
    }
    return false;
}

bool Camera::GetRange(const char* name, int* minimum, int* maximum)
{
    Log(2, "Camera::GetRange: entering prop=%s \n", Text::OrNull(name));
    if (name == nullptr || minimum == nullptr || maximum == nullptr) {
        return false;
    }
    Control control(*this);
    if (!mParameters.HasParam(name)) {
        return false;
    }
    int low = 0;
    int high = 0;
    if (!GetLimits(*mParameters.GetParam(name), low, high)) {
        return false;
    }
    *minimum = low;
    *maximum = high;
    Log(2, "Camera::GetRange: leaving prop=%s min=%d   max=%d \n", name, low, high);
    return true;
}
