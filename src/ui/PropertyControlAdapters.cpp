#include "ui/PropertyControlAdapters.h"

#include "params/Int32.h"

#include <algorithm>

namespace {

template <typename T>
T& As(Param_& param)
{
    auto* typed = dynamic_cast<T*>(&param);
    if (typed == nullptr) {
        throw WrongParameterType(param.mName);
    }
    return *typed;
}

// The parameter's "Format" option, or the grid's default format.
std::string Format(const Param_& param)
{
    return param.HasOption("Format") ? param.GetOption<std::string>("Format") : std::string();
}

template <typename T>
void Set(CPropertyGridModel& grid, int item, const Param_& param, const T& value)
{
    if (!grid.SetItemValue(item, value)) {
        ThrowControlSetFailed(param.mName);
    }
}

template <typename T>
T Get(const CPropertyGridModel& grid, int item, const Param_& param)
{
    T value{};
    if (!grid.GetItemValue(item, value)) {
        ThrowControlGetFailed(param.mName);
    }
    return value;
}

// What the row's 64-bit integer becomes in each parameter type: the nearest
// value for int, so that a typed 4294967306 is out of range and not 10.
int FromRow(std::int64_t value, int*)
{
    return Int32::Saturate(value);
}

unsigned FromRow(std::int64_t value, unsigned*)
{
    return static_cast<unsigned>(static_cast<std::uint64_t>(value));
}

std::int64_t FromRow(std::int64_t value, std::int64_t*)
{
    return value;
}

}

int PropertyControlAdapterBool::CreateItem(Param_& param, CPropertyGridModel& grid, int section) const
{
    return grid.AddBoolItem(section, param.mName, As<Param<bool>>(param).mValue, param.mEnabled, false);
}

void PropertyControlAdapterBool::SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const
{
    Set(grid, item, param, As<Param<bool>>(param).mValue);
}

void PropertyControlAdapterBool::SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const
{
    As<Param<bool>>(param).mValue = Get<bool>(grid, item, param);
}

template <typename T>
int PropertyControlAdapterInt<T>::CreateItem(Param_& param, CPropertyGridModel& grid, int section) const
{
    return grid.AddIntegerItem(section, param.mName, As<Param<T>>(param).mValue, Format(param), param.mEnabled,
                               false);
}

template <typename T>
void PropertyControlAdapterInt<T>::SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const
{
    Set(grid, item, param, As<Param<T>>(param).mValue);
}

template <typename T>
void PropertyControlAdapterInt<T>::SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const
{
    Param<T>& typed = As<Param<T>>(param);
    typed.mValue = FromRow(Get<std::int64_t>(grid, item, param), static_cast<T*>(nullptr));
}

template class PropertyControlAdapterInt<int>;
template class PropertyControlAdapterInt<unsigned>;
template class PropertyControlAdapterInt<std::int64_t>;

int PropertyControlAdapterFloat::CreateItem(Param_& param, CPropertyGridModel& grid, int section) const
{
    return grid.AddDoubleItem(section, param.mName, As<Param<double>>(param).mValue, Format(param), param.mEnabled,
                              false);
}

void PropertyControlAdapterFloat::SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const
{
    Set(grid, item, param, As<Param<double>>(param).mValue);
}

void PropertyControlAdapterFloat::SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const
{
    As<Param<double>>(param).mValue = Get<double>(grid, item, param);
}

int PropertyControlAdapterString::CreateItem(Param_& param, CPropertyGridModel& grid, int section) const
{
    return grid.AddStringItem(section, param.mName, As<Param<std::string>>(param).mValue, param.mEnabled, false);
}

void PropertyControlAdapterString::SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const
{
    Set(grid, item, param, As<Param<std::string>>(param).mValue);
}

void PropertyControlAdapterString::SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const
{
    As<Param<std::string>>(param).mValue = Get<std::string>(grid, item, param);
}

int PropertyControlAdapterEnum::CreateItem(Param_& param, CPropertyGridModel& grid, int section) const
{
    ParamEnum& entries = As<ParamEnum>(param);
    const auto current = std::find(entries.mEntryNames.begin(), entries.mEntryNames.end(), entries.mValue);
    // The first option when the value names none.
    const std::int64_t selected =
        current == entries.mEntryNames.end() ? 0 : static_cast<std::int64_t>(current - entries.mEntryNames.begin());
    return grid.AddComboItem(section, param.mName, entries.mEntryNames, selected, param.mEnabled, false);
}

void PropertyControlAdapterEnum::SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const
{
    Set(grid, item, param, As<ParamEnum>(param).mValue);
}

void PropertyControlAdapterEnum::SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const
{
    As<ParamEnum>(param).mValue = Get<std::string>(grid, item, param);
}
