// A camera reached through the driver's transport layer: the producer, its
// interfaces, the device of a given name, opened as the driver opens it.
#pragma once

#include "transport/CameraPort.h"
#include "transport/Device.h"

#include <memory>
#include <string>

class LiveCamera {
public:
    // Opens the first device of that name; raises when there is none or it
    // cannot be opened.
    explicit LiveCamera(const std::string& name);
    ~LiveCamera();
    LiveCamera(const LiveCamera&) = delete;
    LiveCamera& operator=(const LiveCamera&) = delete;

    // The camera's description loaded into map (timed) and connected to the
    // camera's live registers.
    double LoadInto(GenApi::CNodeMapRef& map);

private:
    Kavrix::Library mLibrary;
    std::unique_ptr<Kavrix::Device> mDevice;
    std::unique_ptr<Kavrix::_CCameraPort> mPort;
};
