// The outcome of a producer step: a GC error code and, on failure, the text
// that names what failed and why (what GCGetLastError hands the driver).
#pragma once

#include "TLI.h"

#include <string>
#include <utility>

namespace Gige {

struct Status {
    GC_ERROR mCode = GC_ERR_SUCCESS;
    std::string mText;

    bool Ok() const { return mCode == GC_ERR_SUCCESS; }

    static Status Success() { return {}; }
    static Status Failure(GC_ERROR code, std::string text) { return {code, std::move(text)}; }
};

}
