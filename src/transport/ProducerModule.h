// The producer library loaded at run time: the path in KAVRIX_TLI when it is
// set, else the producer beside the driver, else the system's search.
#pragma once

#include "os/SharedLibrary.h"
#include "transport/ProducerApi.h"

#include <string>

namespace Kavrix {

class ProducerModule {
public:
    ProducerModule() = default;
    // Failures no longer ask the library for its words once it goes.
    ~ProducerModule();
    ProducerModule(const ProducerModule&) = delete;
    ProducerModule& operator=(const ProducerModule&) = delete;

    // Loads the library and resolves every operation (the optional ones
    // where the library has them); raises CameraError naming the library or
    // the operation that could not be had.
    void Load();
    bool IsLoaded() const { return mLibrary.IsLoaded(); }
    const ProducerApi& Api() const { return mApi; }
    const std::string& Path() const { return mPath; }

private:
    void Resolve();

    Os::SharedLibrary mLibrary;
    ProducerApi mApi;
    std::string mPath;
};

}
