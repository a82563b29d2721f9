// A register memory for describing a camera without one: every address reads
// as zero until something is written there.
#ifndef KAVRIX_DESCRIBE_SPARSEMEMORYPORT_H
#define KAVRIX_DESCRIBE_SPARSEMEMORYPORT_H

#include <cstdint>
#include <unordered_map>

#include <GenApi/GenApi.h>

class SparseMemoryPort final : public GenApi::IPort {
public:
    GenApi::EAccessMode GetAccessMode() const override { return GenApi::RW; }
    void Read(void* pBuffer, int64_t Address, int64_t Length) override;
    void Write(const void* pBuffer, int64_t Address, int64_t Length) override;

private:
    std::unordered_map<int64_t, uint8_t> mWritten;
};

#endif
