// How the producer names cameras. A name is what the driver shows and uses
// as the section of the camera's stored settings, so it must be a valid
// section name (printable, no "[" or "]", no blanks at either end) and
// unique. An engineer names a camera by its place on the line: its
// user-defined name comes first, so a replacement given the same name takes
// over the stored settings.
#pragma once

#include "wire/Discovery.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Gige {

// A text field of the camera fit for a name: control characters become
// blanks, "[" and "]" become "(" and ")", runs of blanks become one, and
// none is left at either end.
std::string CleanField(const std::string& field);

// The user-defined name when set, else "<manufacturer> <model> (<serial>)",
// from the cleaned fields; an empty serial gives way to the MAC address and
// an empty manufacturer and model to "GigE Vision camera".
std::string BaseName(const DeviceInfo& info);

// A camera is told apart by its MAC and IP address together: cameras that
// were never given a MAC (Aravis's fake camera) share 00:00:00:00:00:00.
struct CameraIdentity {
    MacAddress mMac;
    std::uint32_t mIp;

    friend bool operator==(const CameraIdentity& a, const CameraIdentity& b)
    {
        return a.mMac == b.mMac && a.mIp == b.mIp;
    }
};

// names[i] belongs to cameras[i] (each identity once). Every name that more
// than one camera has gets " (<MAC>)" appended, for all of them, so the
// result does not depend on the order of the list; names still repeated
// (a MAC shared) get " (<IP>)" too.
void MakeNamesUnique(std::vector<std::string>& names, const std::vector<CameraIdentity>& cameras);

}
