// The camera's parameters from its node map and back: the parameter set is
// built from the features of each top-level category, written to the camera
// in its order and read back with the camera's values, limits and
// writability. The log texts name the device's methods that run these.
#pragma once

#include "params/CameraParameters.h"

#include <GenApi/GenApi.h>

#include <memory>
#include <string>

namespace NodeMapParams {

// Adds a parameter for every suitable feature the set does not hold yet,
// then the constraints of the camera family. Kavrix::CameraError when the
// map has no "Root" category.
void OpenConfiguration(const GenApi::CNodeMapRef& nodeMap, CameraParameters& params);
void CreateParamFromFeatures(const std::string& category, CameraParameters& params,
                             const GenApi::FeatureList_t& features);
// A new parameter for the node, or null when the node gives none.
std::unique_ptr<Param_> CreateParamFromNode(const std::string& category, GenApi::INode* node);
void AddConstraints(CameraParameters& params);

// Writes every enabled camera parameter in the set's order; a value the
// camera refuses is skipped.
void ApplyConfiguration(const GenApi::CNodeMapRef& nodeMap, CameraParameters& params);
// Writes one parameter whatever its flags; the caller decides. False when
// the camera did not take it: no node (but for a driver setting, which has
// none), not writable now, refused for its access, or of another type.
bool ApplyParameter(const GenApi::CNodeMapRef& nodeMap, Param_& param);
// ApplyParameter for the host: a value the camera did not take gives way to
// the camera's own, read back.
bool SetParameter(const GenApi::CNodeMapRef& nodeMap, Param_& param);
// Reads every camera parameter back, enabled or not.
void UpdateConfiguration(const GenApi::CNodeMapRef& nodeMap, CameraParameters& params);
void UpdateParameter(const GenApi::CNodeMapRef& nodeMap, Param_* param);

}
