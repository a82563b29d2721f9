// The producer's library handle. The camera list owns exactly one.
#pragma once

#include "transport/ProducerModule.h"

namespace Kavrix {

class Library {
public:
    Library() = default;
    // Closes the library when it is still open; failures are logged.
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    void Open();
    void Close();
    bool IsOpen() const { return mHandle != nullptr; }
    int GetInterfaceCount();
    // The library handle; raises when the library is not open.
    TL_HANDLE GetHandle() const;
    const ProducerApi& Api() const { return mModule.Api(); }

private:
    ProducerModule mModule;
    TL_HANDLE mHandle = nullptr;
};

}
