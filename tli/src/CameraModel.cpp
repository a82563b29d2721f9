#include "CameraModel.h"

namespace Tli {

const std::vector<CameraModel>& CameraModels()
{
    static const std::vector<CameraModel> models = {
        {"KX-1300-60gm", "Kavrix", "1.4.2 (build 2117)", 1280, 1024},
        {"KX-5000-24gm", "Kavrix", "2.1.0 (build 3021)", 2448, 2048},
    };
    return models;
}

const CameraModel* FindModel(const std::string& name)
{
    for (const CameraModel& model : CameraModels())
        if (name == model.mName)
            return &model;
    return nullptr;
}

}
