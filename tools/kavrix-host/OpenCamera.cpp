#include "OpenCamera.h"

#include <cstdio>

OpenCamera::OpenCamera(const DriverSession& session, const std::string& name, int port)
    : mDriver(session.Driver()), mPort(port)
{
    if (!session.IsInitialized()) {
        return;
    }
    mOpen = mDriver.openCVLPort(0, port, name.c_str(), mSize) == 1;
    if (!mOpen) {
        std::fprintf(stderr, "kavrix-host: cannot open camera \"%s\" on port %d (--log 2 shows why)\n", name.c_str(),
                     port);
    }
}

OpenCamera::~OpenCamera()
{
    if (mOpen) {
        mDriver.closeCVLPort(0, mPort);
    }
}
