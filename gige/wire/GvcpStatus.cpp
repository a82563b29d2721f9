#include "wire/GvcpStatus.h"

#include <cstdio>

namespace Gige {

const char* GvcpStatusName(std::uint16_t status)
{
    switch (status) {
    case GvcpStatus::Success:
        return "success";
    case GvcpStatus::PacketResend:
        return "packet resend";
    case GvcpStatus::NotImplemented:
        return "not implemented";
    case GvcpStatus::InvalidParameter:
        return "invalid parameter";
    case GvcpStatus::InvalidAddress:
        return "invalid address";
    case GvcpStatus::WriteProtect:
        return "write protect";
    case GvcpStatus::BadAlignment:
        return "bad alignment";
    case GvcpStatus::AccessDenied:
        return "access denied";
    case GvcpStatus::Busy:
        return "busy";
    case GvcpStatus::PacketUnavailable:
        return "packet unavailable";
    case GvcpStatus::DataOverrun:
        return "data overrun";
    case GvcpStatus::InvalidHeader:
        return "invalid header";
    case GvcpStatus::PacketNotYetAvailable:
        return "packet not yet available";
    case GvcpStatus::PacketAndPreviousRemoved:
        return "packet and previous removed from memory";
    case GvcpStatus::PacketRemoved:
        return "packet removed from memory";
    case GvcpStatus::NoReferenceTime:
        return "no reference time";
    case GvcpStatus::PacketTemporarilyUnavailable:
        return "packet temporarily unavailable";
    case GvcpStatus::Overflow:
        return "overflow";
    case GvcpStatus::ActionLate:
        return "action late";
    case GvcpStatus::LeaderTrailerOverflow:
        return "leader/trailer overflow";
    case GvcpStatus::Error:
        return "error";
    default:
        return "unknown status";
    }
}

std::string GvcpStatusText(std::uint16_t status)
{
    char code[8];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(status));
    return std::string("GVCP status ") + code + " (" + GvcpStatusName(status) + ")";
}

GC_ERROR GvcpStatusToGcError(std::uint16_t status)
{
    switch (status) {
    case GvcpStatus::Success:
        return GC_ERR_SUCCESS;
    case GvcpStatus::InvalidAddress:
    case GvcpStatus::BadAlignment:
        return GC_ERR_INVALID_ADDRESS;
    case GvcpStatus::WriteProtect:
    case GvcpStatus::AccessDenied:
        return GC_ERR_ACCESS_DENIED;
    default:
        return GC_ERR_ERROR;
    }
}

bool PacketIsGone(std::uint16_t status)
{
    return status == GvcpStatus::PacketUnavailable || status == GvcpStatus::PacketAndPreviousRemoved ||
           status == GvcpStatus::PacketRemoved || status == GvcpStatus::PacketTemporarilyUnavailable;
}

}
