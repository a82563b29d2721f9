#include "LiveCamera.h"

#include "transport/CameraError.h"

#include <chrono>

LiveCamera::LiveCamera(const std::string& name)
{
    mLibrary.Open();
    const int interfaces = mLibrary.GetInterfaceCount();
    for (int i = 0; i < interfaces && !mDevice; ++i) {
        auto iface = std::make_shared<Kavrix::Interface>(i, mLibrary);
        iface->Open();
        const int devices = iface->GetDeviceCount();
        for (int d = 0; d < devices; ++d) {
            auto device = std::make_unique<Kavrix::Device>(iface, d);
            if (device->GetName() == name) {
                mDevice = std::move(device);
                break;
            }
        }
    }
    if (!mDevice) {
        throw Kavrix::CameraError("no camera named \"" + name + "\"");
    }
    mDevice->Open();
}

LiveCamera::~LiveCamera()
{
    // The node map that reads through the port is the caller's and is gone by now.
    mPort.reset();
    mDevice.reset();
}

double LiveCamera::LoadInto(GenApi::CNodeMapRef& map)
{
    const std::string xml = mDevice->GetXml();
    const auto start = std::chrono::steady_clock::now();
    map._LoadXMLFromString(xml.c_str());
    const double milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    mPort = std::make_unique<Kavrix::_CCameraPort>(mDevice->GetHandle(), mDevice->Api());
    if (!map._Connect(mPort.get(), "Device")) {
        map._Connect(mPort.get(), "CameraPort");
    }
    return milliseconds;
}
