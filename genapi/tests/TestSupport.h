// Helpers for the node-map tests: a register memory behind an IPort, and
// descriptions built around a few nodes.
#ifndef GENAPI_TESTS_TESTSUPPORT_H
#define GENAPI_TESTS_TESTSUPPORT_H

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <GenApi/GenApi.h>

// Register memory that reads 0 where nothing was written. It counts the
// accesses and can be told to fail them, as a camera that stops answering.
class MemoryPort final : public GenApi::IPort {
public:
    GenApi::EAccessMode GetAccessMode() const override { return mAccess; }
    void Read(void* pBuffer, int64_t Address, int64_t Length) override;
    void Write(const void* pBuffer, int64_t Address, int64_t Length) override;

    // An unsigned value of `length` bytes in the given byte order.
    void Set(int64_t address, uint64_t value, int length, bool bigEndian);
    uint64_t Get(int64_t address, int length, bool bigEndian) const;
    void SetBytes(int64_t address, const std::vector<uint8_t>& bytes);
    std::vector<uint8_t> Bytes(int64_t address, int length) const;

    GenApi::EAccessMode mAccess = GenApi::RW;
    int mReads = 0;
    int mWrites = 0;
    bool mFail = false;

private:
    std::map<int64_t, uint8_t> mMemory;
};

// A description of the given nodes plus the port "Device", loaded and connected.
class TestMap {
public:
    explicit TestMap(const std::string& nodes);

    GenApi::INode* Node(const char* name) const;
    template <class T>
    T* As(const char* name) const
    {
        T* node = dynamic_cast<T*>(Node(name));
        EXPECT_NE(node, nullptr) << name;
        return node;
    }

    MemoryPort mPort;
    GenApi::CNodeMapRef mMap;
};

// The nodes wrapped into a complete description.
std::string Description(const std::string& nodes);
// An IntReg at `address` on the port "Device".
std::string IntReg(const char* name, int address, int length = 4, const char* extra = "");
// The text of the RuntimeException that loading raises, or "" when it loads.
std::string LoadError(const std::string& description);
std::string SamplePath(const char* file);

#endif
