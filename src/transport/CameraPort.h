// The register port through which the node map reads and writes the camera.
#pragma once

#include "transport/ProducerApi.h"

#include <GenApi/GenApi.h>

namespace Kavrix {

class _CCameraPort : public GenApi::IPort {
public:
    // The device handle is not owned; the device outlives the port's use.
    _CCameraPort(DEV_HANDLE device, const ProducerApi& api);

    void Read(void* pBuffer, int64_t Address, int64_t Length) override;
    void Write(const void* pBuffer, int64_t Address, int64_t Length) override;
    GenApi::EAccessMode GetAccessMode() const override;

private:
    DEV_HANDLE mDevice;
    const ProducerApi& mApi;
};

}
