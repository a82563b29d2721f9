// One network interface the producer reports. Held by shared pointer: every
// device made on it keeps it open.
#pragma once

#include "transport/Library.h"

#include <string>

namespace Kavrix {

class Interface {
public:
    Interface(int index, Library& library);
    // Closes the interface when it is still open; failures are logged.
    ~Interface();
    Interface(const Interface&) = delete;
    Interface& operator=(const Interface&) = delete;

    void Open();
    void Close();
    // 0 without asking the producer when the interface is not open.
    int GetDeviceCount();
    IF_HANDLE GetHandle() const;
    const std::string& GetName() const { return mName; }
    int GetIndex() const { return mIndex; }
    Library& GetLibrary() const { return mLibrary; }

private:
    int mIndex;
    std::string mName;
    Library& mLibrary;
    IF_HANDLE mHandle = nullptr;
};

}
