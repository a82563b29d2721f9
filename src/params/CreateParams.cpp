// The parameter set from the node map: one parameter per readable value
// feature of each top-level category, bar the excluded ones.
#include "params/NodeMapParams.h"

#include "diag/DriverContext.h"
#include "params/Int32.h"
#include "params/ParamEnum.h"
#include "transport/CameraError.h"

#include <algorithm>
#include <iterator>
#include <typeinfo>

namespace NodeMapParams {

namespace {

// Features that never become parameters: network set-up, memory, raw
// duplicates of other features, and what the driver controls itself.
const char* const ExcludedFeatures[] = {
    "Device", "BaseAddress", "FreeMemory", "LUTControl", "Gain_dB", "GainRaw", "AcquisitionFrameRateRaw",
    "ControlChannelPrivilege", "InitializeParameters", "SaveParameters", "LoadParameters", "ChannelDestinationIP",
    "PersistentIPAddress", "PersistentIPDefaultGateway", "PersistentIPSubnetMask", "DHCPEnabled",
    "PersistentIPEnabled", "GevPersistentIPAddress", "GevPersistentSubnetMask", "GevCurrentSubnetMask",
    "GevCurrentIPAddress", "GevCurrentDefaultGateway", "GevPersistentDefaultGateway", "GevMACAddress",
    "GevTimestampValue", "GevSCDA", "AcquisitionMode", "AcquisitionFrameCount", "SpecialTriggerMode",
    "NumberOfMemoryForSpecialTriggerMode", "SpecialTriggerSourceSelect", "SpecialTriggerPolarity", "MemoryChannel",
    "UserMemoryValue",
};

bool IsExcluded(const std::string& name)
{
    return std::any_of(std::begin(ExcludedFeatures), std::end(ExcludedFeatures),
                       [&](const char* excluded) { return name == excluded; });
}

std::unique_ptr<Param_> FromInteger(const std::string& category, const std::string& name, GenApi::IInteger& node)
{
    const std::int64_t value = node.GetValue(false);
    auto param = std::make_unique<Param<int>>(category, name, Int32::Saturate(value), Int32::Saturate(node.GetMin()),
                                              Int32::Saturate(node.GetMax()), Int32::Saturate(node.GetInc()));
    // A value the parameter cannot hold must never be written back saturated.
    param->mEnabled = Int32::Fits(value);
    return param;
}

std::unique_ptr<Param_> FromEnumeration(const std::string& category, const std::string& name,
                                        GenApi::IEnumeration& node)
{
    auto param = std::make_unique<ParamEnum>(category, name, node.ToString(false).str());
    GenApi::NodeList_t entries;
    node.GetEntries(entries);
    for (GenApi::INode* entry : entries) {
        if (auto* item = dynamic_cast<GenApi::IEnumEntry*>(entry)) {
            param->AddEntry(item->GetSymbolic().c_str(), item->GetValue());
        }
    }
    return param;
}

// The parameter of the node's type; null (logged where it is unexpected)
// for nodes that give none.
std::unique_ptr<Param_> MakeParam(const std::string& category, const std::string& name, GenApi::INode* node)
{
    if (auto* integer = dynamic_cast<GenApi::IInteger*>(node)) {
        return FromInteger(category, name, *integer);
    }
    if (auto* boolean = dynamic_cast<GenApi::IBoolean*>(node)) {
        return std::make_unique<Param<bool>>(category, name, boolean->GetValue(false));
    }
    if (auto* number = dynamic_cast<GenApi::IFloat*>(node)) {
        return std::make_unique<Param<double>>(category, name, number->GetValue(false), number->GetMin(),
                                               number->GetMax(), 0.0);
    }
    if (auto* text = dynamic_cast<GenApi::IString*>(node)) {
        return std::make_unique<Param<std::string>>(category, name, text->GetValue(false).str());
    }
    if (auto* enumeration = dynamic_cast<GenApi::IEnumeration*>(node)) {
        return FromEnumeration(category, name, *enumeration);
    }
    if (dynamic_cast<GenApi::IEnumEntry*>(node) == nullptr && dynamic_cast<GenApi::ICommand*>(node) == nullptr) {
        Log(2, "Device::CreateParamFromNode: skipping '%s' due to unrecognized type", name.c_str());
    }
    return nullptr;
}

}

std::unique_ptr<Param_> CreateParamFromNode(const std::string& category, GenApi::INode* node)
{
    if (node == nullptr) {
        Log(1, "Device::CreateParamFromNode ERROR: pNode==0");
        throw Kavrix::CameraError("Device::CreateParamFromNode ERROR: pNode==0");
    }
    const std::string name = node->GetName().str();
    try {
        std::unique_ptr<Param_> param = MakeParam(category, name, node);
        if (param) {
            Log(3, "Device::CreateParamFromNode INFO: created '%s'", name.c_str());
            param->mDescription = node->GetDescription().str();
            if (!GenApi::IsWritable(node->GetAccessMode())) {
                param->mEnabled = false;
            }
        }
        return param;
    } catch (const std::bad_cast& e) {
        Log(1, "Device::CreateParamFromNode: Parameter '%s' overflow: %s\n", name.c_str(), e.what());
    } catch (const GenICam::GenericException& e) {
        // One broken feature must not make the camera impossible to open.
        Log(1, "Device::CreateParamFromNode: Parameter '%s' skipped: %s\n", name.c_str(), e.what());
    }
    return nullptr;
}

void CreateParamFromFeatures(const std::string& category, CameraParameters& params,
                             const GenApi::FeatureList_t& features)
{
    for (GenApi::IValue* feature : features) {
        GenApi::INode* node = feature != nullptr ? feature->GetNode() : nullptr;
        if (node == nullptr) {
            // Raises the driver's error for a feature without a node.
            CreateParamFromNode(category, node);
            continue;
        }
        if (dynamic_cast<GenApi::IRegister*>(node) != nullptr) {
            continue;
        }
        try {
            if (!GenApi::IsReadable(node->GetAccessMode())) {
                continue;
            }
        } catch (const GenICam::AccessException&) {
            // The camera does not answer: the walk ends with it.
            throw;
        } catch (const GenICam::GenericException& e) {
            Log(1, "Device::CreateParamFromNode: Parameter '%s' skipped: %s\n", node->GetName().c_str(), e.what());
            continue;
        }
        const std::string name = node->GetName().str();
        if (IsExcluded(name) || params.HasParam(name)) {
            continue;
        }
        if (std::unique_ptr<Param_> param = CreateParamFromNode(category, node)) {
            params.Add(std::move(param));
        }
    }
    Log(3, "Device::CreateParamFromFeatures: INFO: completed feature %s", category.c_str());
}

void OpenConfiguration(const GenApi::CNodeMapRef& nodeMap, CameraParameters& params)
{
    auto* root = dynamic_cast<GenApi::ICategory*>(nodeMap._GetNode("Root"));
    if (root == nullptr) {
        throw Kavrix::CameraError("Device::OpenConfiguration: Failed to get root node");
    }
    GenApi::FeatureList_t categories;
    root->GetFeatures(categories);
    for (GenApi::IValue* feature : categories) {
        if (auto* category = dynamic_cast<GenApi::ICategory*>(feature)) {
            GenApi::FeatureList_t features;
            category->GetFeatures(features);
            CreateParamFromFeatures(category->GetNode()->GetName().str(), params, features);
        }
    }
    AddConstraints(params);
}

}
