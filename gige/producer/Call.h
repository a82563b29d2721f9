// The frame of every producer operation: the body's status becomes the
// return code, a failure leaves "<operation>: <why>" for GCGetLastError,
// and no exception reaches the caller.
#pragma once

#include "common/Status.h"
#include "producer/LastError.h"
#include "producer/Producer.h"

#include <exception>
#include <new>
#include <string>

namespace Gige {

template <class Body>
GC_ERROR Call(const char* operation, Body&& body) noexcept
{
    Status status;
    try {
        status = body(Producer::Instance());
    } catch (const std::bad_alloc&) {
        status = Status::Failure(GC_ERR_ERROR, "out of memory");
    } catch (const std::exception& error) {
        status = Status::Failure(GC_ERR_ERROR, error.what());
    } catch (...) {
        status = Status::Failure(GC_ERR_ERROR, "unexpected failure");
    }
    if (!status.Ok()) {
        try {
            RecordLastError(status.mCode, std::string(operation) + ": " + status.mText);
        } catch (...) {
            RecordLastError(status.mCode, std::string());
        }
    }
    return status.mCode;
}

// "the <what> handle is not open", the usual failure for a stale handle.
inline Status NotOpen(const char* what)
{
    return Status::Failure(GC_ERR_INVALID_HANDLE, std::string("the ") + what + " handle is not open");
}

inline Status MissingArgument(const char* what)
{
    return Status::Failure(GC_ERR_INVALID_PARAMETER, std::string("no ") + what + " given");
}

}
