// IBase: what every node and port answers, its access mode.
#ifndef GENAPI_IBASE_H
#define GENAPI_IBASE_H

#include <GenApi/Types.h>

namespace GenApi {

struct IBase {
    virtual EAccessMode GetAccessMode() const = 0;
    virtual ~IBase() = default;
};

inline bool IsReadable(EAccessMode mode) { return mode == RO || mode == RW; }
inline bool IsWritable(EAccessMode mode) { return mode == WO || mode == RW; }
inline bool IsImplemented(EAccessMode mode) { return mode != NI && mode != _UndefinedAccesMode; }
inline bool IsAvailable(EAccessMode mode) { return mode == WO || mode == RO || mode == RW; }

inline bool IsReadable(const IBase* base) { return base && IsReadable(base->GetAccessMode()); }
inline bool IsWritable(const IBase* base) { return base && IsWritable(base->GetAccessMode()); }
inline bool IsImplemented(const IBase* base) { return base && IsImplemented(base->GetAccessMode()); }
inline bool IsAvailable(const IBase* base) { return base && IsAvailable(base->GetAccessMode()); }

// The text GenApi uses for each access mode ("RW", "NA", ...).
const char* AccessModeName(EAccessMode mode);

} // namespace GenApi

#endif
