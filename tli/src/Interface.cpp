#include "Interface.h"

namespace Tli {

std::shared_ptr<Camera> Interface::FindCamera(const std::string& name) const
{
    for (const auto& camera : mCameras)
        if (camera->GetName() == name)
            return camera;
    return nullptr;
}

void Interface::MarkRemoved()
{
    mRemoved = true;
    for (const auto& camera : mCameras)
        camera->MarkRemoved();
    mCameras.clear();
}

}
