// GCGetLastError: the calling thread's last failure. Its own failures leave
// that failure in place.
#include "producer/LastError.h"
#include "producer/TextOut.h"

using namespace Gige;

GC_ERROR GCGetLastError(GC_ERROR* piErrorCode, char* sErrText, size_t* piSize)
{
    try {
        GC_ERROR code = GC_ERR_SUCCESS;
        std::string text;
        ReadLastError(code, text);
        const Status status = CopyText(text, sErrText, piSize);
        if (status.Ok() && piErrorCode != nullptr)
            *piErrorCode = code;
        return status.mCode;
    } catch (...) {
        return GC_ERR_ERROR;
    }
}
