#include "ui/PropertyControlAdapter.h"

#include "ui/PropertyControlAdapters.h"

#include <stdexcept>
#include <typeindex>
#include <utility>
#include <vector>

PropertyControlAdapter::~PropertyControlAdapter() = default;

WrongParameterType::WrongParameterType(const std::string& name) : mText("Wrong parameter '" + name + "' type") {}

void ThrowControlSetFailed(const std::string& name)
{
    throw std::runtime_error("Failed to set control '" + name + "' value");
}

void ThrowControlGetFailed(const std::string& name)
{
    throw std::runtime_error("Failed to get control '" + name + "' value");
}

std::shared_ptr<PropertyControlAdapter> GetAdapter(const Param_& param)
{
    // Made on first use and shared by every dialog; the exact type decides,
    // so an enumeration gets its own adapter although it is a text parameter.
    static const std::vector<std::pair<std::type_index, std::shared_ptr<PropertyControlAdapter>>> table = {
        {typeid(Param<bool>), std::make_shared<PropertyControlAdapterBool>()},
        {typeid(Param<int>), std::make_shared<PropertyControlAdapterInt<int>>()},
        {typeid(Param<unsigned>), std::make_shared<PropertyControlAdapterInt<unsigned>>()},
        {typeid(Param<std::int64_t>), std::make_shared<PropertyControlAdapterInt<std::int64_t>>()},
        {typeid(Param<double>), std::make_shared<PropertyControlAdapterFloat>()},
        {typeid(Param<std::string>), std::make_shared<PropertyControlAdapterString>()},
        {typeid(ParamEnum), std::make_shared<PropertyControlAdapterEnum>()},
    };
    const std::type_index type(typeid(param));
    for (const auto& [entryType, adapter] : table) {
        if (entryType == type) {
            return adapter;
        }
    }
    throw std::runtime_error("Unsupported parameter type");
}
