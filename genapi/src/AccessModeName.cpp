#include <GenApi/IBase.h>

namespace GenApi {

const char* AccessModeName(EAccessMode mode)
{
    switch (mode) {
    case NI:
        return "NI";
    case NA:
        return "NA";
    case WO:
        return "WO";
    case RO:
        return "RO";
    case RW:
        return "RW";
    default:
        return "undefined";
    }
}

} // namespace GenApi
