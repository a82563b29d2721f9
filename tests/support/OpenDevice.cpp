#include "support/OpenDevice.h"

namespace TestSupport {

DeviceOnProducer::DeviceOnProducer(int index)
{
    mLibrary.Open();
    mInterface = std::make_shared<Kavrix::Interface>(0, mLibrary);
    mInterface->Open();
    mDevice = std::make_unique<Kavrix::Device>(mInterface, index);
    mName = mDevice->GetName();
}

DeviceOnProducer::~DeviceOnProducer()
{
    // The device goes first: it holds the interface, which needs the library.
    mDevice.reset();
    mInterface.reset();
}

}
