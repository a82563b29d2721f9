#include "TestSupport.h"

#include <cstdlib>

using namespace GenApi;

void MemoryPort::Read(void* pBuffer, int64_t Address, int64_t Length)
{
    if (mFail) {
        throw ACCESS_EXCEPTION("Failure reading device data");
    }
    ++mReads;
    const std::vector<uint8_t> bytes = Bytes(Address, static_cast<int>(Length));
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(pBuffer));
}

void MemoryPort::Write(const void* pBuffer, int64_t Address, int64_t Length)
{
    if (mFail) {
        throw ACCESS_EXCEPTION("Failure writing device data");
    }
    ++mWrites;
    const auto* bytes = static_cast<const uint8_t*>(pBuffer);
    SetBytes(Address, std::vector<uint8_t>(bytes, bytes + Length));
}

void MemoryPort::Set(int64_t address, uint64_t value, int length, bool bigEndian)
{
    for (int i = 0; i < length; ++i) {
        const int index = bigEndian ? length - 1 - i : i;
        mMemory[address + index] = static_cast<uint8_t>(value >> (8 * i));
    }
}

uint64_t MemoryPort::Get(int64_t address, int length, bool bigEndian) const
{
    uint64_t value = 0;
    const std::vector<uint8_t> bytes = Bytes(address, length);
    for (int i = 0; i < length; ++i) {
        const int index = bigEndian ? length - 1 - i : i;
        value |= static_cast<uint64_t>(bytes[static_cast<std::size_t>(index)]) << (8 * i);
    }
    return value;
}

void MemoryPort::SetBytes(int64_t address, const std::vector<uint8_t>& bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        mMemory[address + static_cast<int64_t>(i)] = bytes[i];
    }
}

std::vector<uint8_t> MemoryPort::Bytes(int64_t address, int length) const
{
    std::vector<uint8_t> bytes(static_cast<std::size_t>(length), 0);
    for (int i = 0; i < length; ++i) {
        const auto found = mMemory.find(address + i);
        if (found != mMemory.end()) {
            bytes[static_cast<std::size_t>(i)] = found->second;
        }
    }
    return bytes;
}

std::string Description(const std::string& nodes)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<RegisterDescription ModelName=\"Test\" VendorName=\"Kavrix\" SchemaMajorVersion=\"1\" "
           "SchemaMinorVersion=\"1\" SchemaSubMinorVersion=\"0\" MajorVersion=\"1\" MinorVersion=\"0\" "
           "SubMinorVersion=\"0\" ProductGuid=\"0\" VersionGuid=\"0\" StandardNameSpace=\"None\" "
           "xmlns=\"http://www.genicam.org/GenApi/Version_1_1\">\n"
           "<Port Name=\"Device\"/>\n" +
           nodes + "\n</RegisterDescription>\n";
}

std::string IntReg(const char* name, int address, int length, const char* extra)
{
    return std::string("<IntReg Name=\"") + name + "\"><Address>" + std::to_string(address) + "</Address><Length>" +
           std::to_string(length) + "</Length><AccessMode>RW</AccessMode><pPort>Device</pPort>" + extra +
           "</IntReg>\n";
}

std::string LoadError(const std::string& description)
{
    CNodeMapRef map;
    try {
        map._LoadXMLFromString(description);
    } catch (const GenICam::RuntimeException& e) {
        EXPECT_EQ(map._Ptr, nullptr);
        return e.GetDescription();
    }
    return "";
}

std::string SamplePath(const char* file)
{
    const char* root = std::getenv("KAVRIX_SOURCE_DIR");
    return std::string(root ? root : ".") + "/genapi/tests/samples/" + file;
}

TestMap::TestMap(const std::string& nodes)
{
    mMap._LoadXMLFromString(Description(nodes));
    EXPECT_TRUE(mMap._Connect(&mPort, "Device"));
}

INode* TestMap::Node(const char* name) const { return mMap._GetNode(name); }
