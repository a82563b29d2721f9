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
// names) with no faults and no handles.
class ProducerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
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

constexpr const char* DefaultInterface = "eth0 (192.168.10.1/24)";
constexpr const char* DefaultKx1300 = "Kavrix KX-1300-60gm (21810742)";
constexpr const char* DefaultKx5000 = "Kavrix KX-5000-24gm (21810743)";

}
