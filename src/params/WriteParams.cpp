// Moving values between the parameter set and the camera: written in the
// set's order, read back with the camera's values, limits and writability.
#include "params/NodeMapParams.h"

#include "diag/DriverContext.h"
#include "params/Int32.h"
#include "params/ParamEnum.h"

#include <typeinfo>

namespace NodeMapParams {

namespace {

template <typename Node, typename Value>
bool WriteIfDifferent(Node& node, const Value& current, const Value& wanted)
{
    if (current != wanted) {
        node.SetValue(wanted);
    }
    return true;
}

// By the node's type, first match; a parameter of another type is left alone.
// True when the camera holds the parameter's value afterwards.
bool WriteValue(GenApi::INode* node, Param_& param)
{
    if (auto* integer = dynamic_cast<GenApi::IInteger*>(node)) {
        if (auto* value = dynamic_cast<Param<int>*>(&param)) {
            // Compared as the parameter holds it, so that a camera value beyond
            // 32 bits is never overwritten by its saturated copy.
            return WriteIfDifferent(*integer, Int32::Saturate(integer->GetValue()), value->mValue);
        }
    } else if (auto* boolean = dynamic_cast<GenApi::IBoolean*>(node)) {
        if (auto* value = dynamic_cast<Param<bool>*>(&param)) {
            return WriteIfDifferent(*boolean, boolean->GetValue(), value->mValue);
        }
    } else if (auto* number = dynamic_cast<GenApi::IFloat*>(node)) {
        if (auto* value = dynamic_cast<Param<double>*>(&param)) {
            return WriteIfDifferent(*number, number->GetValue(), value->mValue);
        }
    } else if (auto* text = dynamic_cast<GenApi::IString*>(node)) {
        if (auto* value = dynamic_cast<Param<std::string>*>(&param)) {
            return WriteIfDifferent(*text, text->GetValue(), GenICam::gcstring(value->mValue));
        }
    } else if (auto* enumeration = dynamic_cast<GenApi::IEnumeration*>(node)) {
        if (auto* value = dynamic_cast<ParamEnum*>(&param)) {
            const std::int64_t wanted = value->GetIntValue();
            if (enumeration->GetIntValue() != wanted) {
                enumeration->SetIntValue(wanted);
            }
            return true;
        }
    } else if (dynamic_cast<GenApi::IEnumEntry*>(node) != nullptr) {
        Log(1, "Device::ApplyConfiguration: WARNING: IEnumEntry (%s) not supposed to find in the list",
            param.mName.c_str());
    } else {
        Log(1, "Device::ApplyConfiguration: WARNING: '%s' skipped due to unrecognized type", param.mName.c_str());
    }
    return false;
}

// By the node's type, first match; true when the parameter took a value.
bool ReadValue(GenApi::INode* node, Param_& param)
{
    if (auto* integer = dynamic_cast<GenApi::IInteger*>(node)) {
        if (auto* value = dynamic_cast<Param<int>*>(&param)) {
            const std::int64_t current = integer->GetValue();
            value->mValue = Int32::Saturate(current);
            value->mMin = Int32::Saturate(integer->GetMin());
            value->mMax = Int32::Saturate(integer->GetMax());
            return true;
        }
    } else if (auto* boolean = dynamic_cast<GenApi::IBoolean*>(node)) {
        if (auto* value = dynamic_cast<Param<bool>*>(&param)) {
            value->mValue = boolean->GetValue();
            return true;
        }
    } else if (auto* number = dynamic_cast<GenApi::IFloat*>(node)) {
        if (auto* value = dynamic_cast<Param<double>*>(&param)) {
            value->mValue = number->GetValue();
            value->mMin = number->GetMin();
            value->mMax = number->GetMax();
            return true;
        }
    } else if (auto* text = dynamic_cast<GenApi::IString*>(node)) {
        if (auto* value = dynamic_cast<Param<std::string>*>(&param)) {
            value->mValue = text->GetValue().str();
            return true;
        }
    } else if (auto* enumeration = dynamic_cast<GenApi::IEnumeration*>(node)) {
        if (auto* value = dynamic_cast<ParamEnum*>(&param)) {
            value->SetIntValue(enumeration->GetIntValue());
            return true;
        }
    } else if (dynamic_cast<GenApi::IEnumEntry*>(node) != nullptr) {
        Log(1, "Device::UpdateParameter: WARNING: IEnumEntry (%s) not supposed to find in the list",
            param.mName.c_str());
    } else {
        Log(1, "Device::UpdateParameter: WARNING: '%s' skipped due to unrecognized type", param.mName.c_str());
    }
    return false;
}

// Whether the camera lets the parameter be changed now; an integer whose
// camera value does not fit the parameter never is.
bool IsChangeable(GenApi::INode* node, GenApi::EAccessMode mode)
{
    auto* integer = dynamic_cast<GenApi::IInteger*>(node);
    return GenApi::IsWritable(mode) && (integer == nullptr || Int32::Fits(integer->GetValue()));
}

}

bool ApplyParameter(const GenApi::CNodeMapRef& nodeMap, Param_& param)
{
    GenApi::INode* node = nodeMap._GetNode(param.mName.c_str());
    if (node == nullptr) {
        Log(1, "Device::ApplyParameter: There is no '%s' node\n", param.mName.c_str());
        // A driver setting has no node: it lives in the driver alone.
        return param.mGeneral;
    }
    if (!GenApi::IsWritable(node->GetAccessMode())) {
        Log(1, "Device::ApplyParameter: Skipped '%s' read-only parameter\n", param.mName.c_str());
        return false;
    }
    const std::string text = param.ToString();
    Log(3, "Device::ApplyParameter: INFO: Set parameter: %s=%s", param.mName.c_str(), text.c_str());
    try {
        return WriteValue(node, param);
    } catch (const GenICam::AccessException& e) {
        Log(1, "Device::ApplyConfiguration: WARNING: Skipped '%s'='%s' due to access level: %s\n",
            param.mName.c_str(), text.c_str(), e.what());
        return false;
    }
}

bool SetParameter(const GenApi::CNodeMapRef& nodeMap, Param_& param)
{
    if (ApplyParameter(nodeMap, param)) {
        return true;
    }
    // The camera kept its value, and so does the parameter. Its writability
    // stays as the last open found it: a size that cannot change while the
    // camera streams is still written from the settings at the next open.
    const bool enabled = param.mEnabled;
    UpdateParameter(nodeMap, &param);
    param.mEnabled = enabled;
    return false;
}

void ApplyConfiguration(const GenApi::CNodeMapRef& nodeMap, CameraParameters& params)
{
    for (const auto& param : params.GetParams()) {
        if (!param->mEnabled || param->mGeneral) {
            continue;
        }
        // A stale or hand-edited value the camera refuses must not keep the
        // camera from opening: it is skipped, and the read-back that follows
        // gives the parameter the camera's own value.
        try {
            ApplyParameter(nodeMap, *param);
        } catch (const GenICam::OutOfRangeException& e) {
            Log(1, "Device::ApplyConfiguration: WARNING: Skipped '%s'='%s' refused by the camera: %s\n",
                param->mName.c_str(), param->ToString(), e.what());
        } catch (const GenICam::InvalidArgumentException& e) {
            Log(1, "Device::ApplyConfiguration: WARNING: Skipped '%s'='%s' refused by the camera: %s\n",
                param->mName.c_str(), param->ToString(), e.what());
        }
    }
    nodeMap._InvalidateNodes();
}

void UpdateParameter(const GenApi::CNodeMapRef& nodeMap, Param_* param)
{
    if (param == nullptr) {
        Log(1, "Device::UpdateParameter: ERROR: param==0");
        return;
    }
    GenApi::INode* node = nodeMap._GetNode(param->mName.c_str());
    if (node == nullptr) {
        Log(1, "Device::UpdateParameter: WARNING: ignoring since there is no '%s' node", param->mName.c_str());
        return;
    }
    const std::string name = node->GetName().str();
    GenApi::EAccessMode mode = GenApi::NI;
    try {
        mode = node->GetAccessMode();
    } catch (const GenICam::AccessException&) {
        // The camera does not answer: the read-back ends with it.
        throw;
    } catch (const GenICam::GenericException& e) {
        Log(1, "Device::UpdateParameter: WARNING: Parameter '%s' skipped: %s\n", param->mName.c_str(), e.what());
        return;
    }
    if (!GenApi::IsReadable(mode)) {
        Log(1, "Device::UpdateParameter: WARNING: skipping non readable parameter '%s'", param->mName.c_str());
        return;
    }
    Log(3, "Device::UpdateParameter: INFO: Set parameter: %s=%s", param->mName.c_str(), param->ToString());
    try {
        if (ReadValue(node, *param)) {
            param->mEnabled = IsChangeable(node, mode);
        }
    } catch (const GenICam::AccessException& e) {
        Log(1, "Device::UpdateParameter: WARNING: Skipped '%s' due to access level: %s\n", param->mName.c_str(),
            e.what());
    } catch (const std::bad_cast& e) {
        Log(1, "Device::UpdateParameter: Parameter '%s' overflow: %s\n", name.c_str(), e.what());
    } catch (const GenICam::GenericException& e) {
        // One broken feature must not end the read-back of the others.
        Log(1, "Device::UpdateParameter: WARNING: Parameter '%s' skipped: %s\n", param->mName.c_str(), e.what());
    }
}

void UpdateConfiguration(const GenApi::CNodeMapRef& nodeMap, CameraParameters& params)
{
    for (const auto& param : params.GetParams()) {
        if (!param->mGeneral) {
            UpdateParameter(nodeMap, param.get());
        }
    }
}

}
