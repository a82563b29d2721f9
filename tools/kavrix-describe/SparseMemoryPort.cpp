#include "SparseMemoryPort.h"

#include <cstring>

void SparseMemoryPort::Read(void* pBuffer, int64_t Address, int64_t Length)
{
    auto* bytes = static_cast<uint8_t*>(pBuffer);
    std::memset(bytes, 0, static_cast<std::size_t>(Length));
    if (mWritten.empty()) {
        return;
    }
    for (int64_t i = 0; i < Length; ++i) {
        const auto found = mWritten.find(Address + i);
        if (found != mWritten.end()) {
            bytes[i] = found->second;
        }
    }
}

void SparseMemoryPort::Write(const void* pBuffer, int64_t Address, int64_t Length)
{
    const auto* bytes = static_cast<const uint8_t*>(pBuffer);
    for (int64_t i = 0; i < Length; ++i) {
        mWritten[Address + i] = bytes[i];
    }
}
