// One camera opened on a port for the length of a command.
#pragma once

#include "DriverSession.h"

#include <string>

class OpenCamera {
public:
    OpenCamera(const DriverSession& session, const std::string& name, int port);
    // Closes the camera when it was opened.
    ~OpenCamera();
    OpenCamera(const OpenCamera&) = delete;
    OpenCamera& operator=(const OpenCamera&) = delete;

    bool IsOpen() const { return mOpen; }
    int Port() const { return mPort; }
    int Width() const { return mSize[0]; }
    int Height() const { return mSize[1]; }

private:
    const DriverFunctions& mDriver;
    int mPort;
    int mSize[2] = {0, 0};
    bool mOpen = false;
};
