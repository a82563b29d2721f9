// Helpers shared by the producer's tests.
#pragma once

#include "TLI.h"
#include "TLIControl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace TliTest {

// Writes a configuration file in the working folder and returns its name.
std::string WriteConfig(const std::string& name, const std::string& text);

std::string LastConfigError();

// Every test starts from the embedded default (or the set the environment
// names) with no faults and no handles, before any member of a fixture opens
// something.
class ProducerTest : public ::testing::Test {
protected:
    ProducerTest();
    ~ProducerTest() override;
};

// A library opened for the test, closed at its end.
class Library {
public:
    Library();
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    TL_HANDLE Get() const { return mHandle; }
    std::vector<std::string> InterfaceNames() const;
    // The device names of the interface of that name.
    std::vector<std::string> DeviceNames(const std::string& iface) const;
    // Opens the interface and the device on it; fails the test when it cannot.
    IF_HANDLE OpenInterface(const std::string& iface) const;
    DEV_HANDLE OpenDevice(const std::string& iface, const std::string& device) const;

private:
    TL_HANDLE mHandle = nullptr;
};

std::string DeviceInfo(DEV_HANDLE device, int32_t command);

// Register access through the producer operations, as a driver does it.
GC_ERROR Read(DEV_HANDLE device, uint64_t address, void* buffer, size_t size);
GC_ERROR Write(DEV_HANDLE device, uint64_t address, const void* buffer, size_t size);
// A 4-byte register in the byte order given.
uint32_t Read32(DEV_HANDLE device, uint64_t address, bool bigEndian);
GC_ERROR Write32(DEV_HANDLE device, uint64_t address, uint32_t value, bool bigEndian);
int64_t RegisterValue(const char* device, const char* reg);
std::string Url(DEV_HANDLE device);
std::string Description(const char* model, bool zipped);

constexpr const char* DefaultInterface = "eth0 (192.168.10.1/24)";
constexpr const char* DefaultKx1300 = "Kavrix KX-1300-60gm (21810742)";
constexpr const char* DefaultKx5000 = "Kavrix KX-5000-24gm (21810743)";

}
