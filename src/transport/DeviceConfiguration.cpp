// The device's side of the camera's parameters: its node map.
#include "params/NodeMapParams.h"
#include "transport/Device.h"

namespace Kavrix {

void Device::OpenConfiguration(CameraParameters& params)
{
    NodeMapParams::OpenConfiguration(mNodeMap, params);
}

void Device::ApplyConfiguration(CameraParameters& params)
{
    NodeMapParams::ApplyConfiguration(mNodeMap, params);
}

bool Device::ApplyParameter(Param_& param)
{
    return NodeMapParams::SetParameter(mNodeMap, param);
}

void Device::UpdateConfiguration(CameraParameters& params)
{
    NodeMapParams::UpdateConfiguration(mNodeMap, params);
}

void Device::UpdateParameter(Param_* param)
{
    NodeMapParams::UpdateParameter(mNodeMap, param);
}

}
