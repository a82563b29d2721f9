// What the camera list knows of a camera when it creates it.
#pragma once

#include <string>

struct CameraInfo {
    // Bit value of flags that marks a colour camera (24 bits per pixel).
    static constexpr int ColorFlag = 2;

    int flags = 0;
    std::string name;

    bool IsColor() const { return (flags & ColorFlag) != 0; }
};
