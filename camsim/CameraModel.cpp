#include "camsim/CameraModel.h"

#include "camsim/EmbeddedFiles.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace CamSim {

namespace {

constexpr ModelRegisters Kx1300Registers = {
    "WidthReg",           "HeightReg",          "OffsetXReg",          "OffsetYReg",
    "PixelFormatReg",     "AcquisitionModeReg", "AcquisitionStartReg", "AcquisitionStopReg",
    "TriggerModeReg",     "TriggerSourceReg",   "TriggerSoftwareReg",  "FrameRateReg",
    "AutoFrameRateBit",   "TLParamsLockedReg",  "FrameCounterReg"};

constexpr ModelRegisters Kx5000Registers = {
    "WidthReg",           "HeightReg",          "OffsetXReg",          "OffsetYReg",
    "PixelFormatReg",     "AcquisitionModeReg", "AcquisitionStartReg", "AcquisitionStopReg",
    "TriggerModeBit",     "TriggerSourceBits",  "TriggerSoftwareReg",  "AcquisitionFrameRateAbsReg",
    "AcquisitionFrameRateAutoReg", "TLParamsLockedReg", "FrameCounterReg"};

// What every model's GigE Vision bootstrap registers hold after power-on.
// Constant-initialised: the library builds its cameras while it is loaded.
constexpr std::pair<const char*, double> BootstrapPowerOn[] = {
    {"GevVersionMajor", 1},
    {"GevVersionMinor", 2},
    {"GevDeviceModeIsBigEndian", 1},
    {"DHCPEnabledBit", 1},
    {"GevCurrentSubnetMask", 0xFFFFFF00u},
    {"GevHeartbeatTimeoutReg", 3000},
    {"GevTimestampTickFrequencyLow", 125000000},
    {"GevSCPSPacketSizeBits", 1500},
    {"GevSCPHostPort", 0},
};

std::vector<std::pair<const char*, double>> WithBootstrap(std::vector<std::pair<const char*, double>> values)
{
    values.insert(values.begin(), std::begin(BootstrapPowerOn), std::end(BootstrapPowerOn));
    return values;
}

}

const std::vector<CameraModel>& CameraModels()
{
    static const std::vector<CameraModel> models = {
        {"KX-1300-60gm", "Kavrix", "1.4.2 (build 2117)", "Kavrix area scan camera, 1.3 MP, GigE", "KavrixKX1300",
         1280, 1024, 61440, 500.0, Kx1300Registers,
         {"WidthReg", "HeightReg", "PixelFormatReg", "BinningReg"},
         {"LineStatusAllReg"},
         {"LineDebouncerTimeRawReg"},
         WithBootstrap({{"SensorWidthReg", 1280},
                        {"SensorHeightReg", 1024},
                        {"WidthReg", 1280},
                        {"HeightReg", 1024},
                        {"PixelFormatReg", 0x01080001},
                        {"AcquisitionModeReg", 1},
                        {"AcquisitionFrameCountReg", 1},
                        {"FrameRateReg", 30.0},
                        {"ExposureTimeRawReg", 10000},
                        {"TimebaseReg", 16},
                        {"DeviceTemperatureReg", 41.5},
                        {"GammaReg", 1.0},
                        {"LineDebouncerTimeRawReg", 10},
                        {"LUTInq", 1}})},
        {"KX-5000-24gm", "Kavrix", "2.1.0 (build 3021)", "Kavrix area scan camera, 5 MP, GigE", "KavrixKX5000",
         2448, 2048, 49152, 1000.0, Kx5000Registers,
         {"WidthReg", "HeightReg", "PixelFormatReg", "BinningVerticalBits", "BinningHorizontalBits"},
         {"LineStatusAllReg"},
         {"LineDebouncerTimeRawReg"},
         WithBootstrap({{"SensorWidthReg", 2448},
                        {"SensorHeightReg", 2048},
                        {"WidthReg", 2448},
                        {"HeightReg", 2048},
                        {"PixelFormatReg", 0x01080001},
                        {"BinningVerticalBits", 1},
                        {"BinningHorizontalBits", 1},
                        {"AcquisitionModeReg", 1},
                        {"AcquisitionFrameCountReg", 1},
                        {"AcquisitionFrameRateAbsReg", 24.0},
                        {"ExposureTimeAbsReg", 10000.0},
                        {"AutoTargetValueReg", 128},
                        {"DeviceTemperatureReg", 43.25},
                        {"GammaReg", 1.0},
                        {"LineDebouncerTimeRawReg", 10}})},
    };
    return models;
}

const CameraModel* FindModel(const std::string& name)
{
    for (const CameraModel& model : CameraModels())
        if (name == model.mName)
            return &model;
    return nullptr;
}

const std::string& CameraModel::Description() const
{
    static std::mutex mutex;
    static std::map<const CameraModel*, std::string> texts;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = texts.find(this);
    if (found == texts.end())
        found = texts.emplace(this, EmbeddedText(std::string(mFileName) + ".xml")).first;
    return found->second;
}

std::shared_ptr<const RegisterLayout> CameraModel::Layout() const
{
    static std::mutex mutex;
    static std::map<const CameraModel*, std::shared_ptr<const RegisterLayout>> layouts;
    const std::string& text = Description();
    std::lock_guard<std::mutex> lock(mutex);
    auto& layout = layouts[this];
    if (!layout)
        layout = std::make_shared<const RegisterLayout>(text);
    return layout;
}

double CameraModel::FastestFrameRate(std::int64_t height) const
{
    return std::min(mMaxFrameRate, static_cast<double>(mLinesPerSecond) / static_cast<double>(std::max<std::int64_t>(height, 1)));
}

}
