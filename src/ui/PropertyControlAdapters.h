// One adapter per parameter type the dialog shows.
#pragma once

#include "params/ParamEnum.h"
#include "ui/PropertyControlAdapter.h"

class PropertyControlAdapterBool : public PropertyControlAdapter {
public:
    int CreateItem(Param_& param, CPropertyGridModel& grid, int section) const override;
    void SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const override;
    void SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const override;
};

// Integer rows; T is int, unsigned or std::int64_t.
template <typename T>
class PropertyControlAdapterInt : public PropertyControlAdapter {
public:
    int CreateItem(Param_& param, CPropertyGridModel& grid, int section) const override;
    void SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const override;
    void SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const override;
};

class PropertyControlAdapterFloat : public PropertyControlAdapter {
public:
    int CreateItem(Param_& param, CPropertyGridModel& grid, int section) const override;
    void SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const override;
    void SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const override;
};

class PropertyControlAdapterString : public PropertyControlAdapter {
public:
    int CreateItem(Param_& param, CPropertyGridModel& grid, int section) const override;
    void SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const override;
    void SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const override;
};

// A drop-down row of the entry names, read and written as text.
class PropertyControlAdapterEnum : public PropertyControlAdapter {
public:
    int CreateItem(Param_& param, CPropertyGridModel& grid, int section) const override;
    void SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const override;
    void SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const override;
};
