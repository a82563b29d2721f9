// Between a parameter and its grid row: each adapter makes the row of the
// right kind for one parameter type and copies values both ways. The
// adapters hold no state and are shared by every dialog.
#pragma once

#include "params/Param.h"
#include "ui/PropertyGridModel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>

class PropertyControlAdapter {
public:
    virtual ~PropertyControlAdapter();
    // Adds the parameter's row to the section; returns the row's id.
    virtual int CreateItem(Param_& param, CPropertyGridModel& grid, int section) const = 0;
    virtual void SetItemFromParam(Param_& param, CPropertyGridModel& grid, int item) const = 0;
    virtual void SetParamFromItem(Param_& param, CPropertyGridModel& grid, int item) const = 0;
};

// The adapter for the parameter's exact type; std::runtime_error
// "Unsupported parameter type" for a type without one.
std::shared_ptr<PropertyControlAdapter> GetAdapter(const Param_& param);

// A parameter handed to an adapter of another type.
class WrongParameterType : public std::bad_cast {
public:
    explicit WrongParameterType(const std::string& name);
    const char* what() const noexcept override { return mText.c_str(); }

private:
    std::string mText;
};

// "Failed to set control '<name>' value" / "Failed to get control '<name>' value".
[[noreturn]] void ThrowControlSetFailed(const std::string& name);
[[noreturn]] void ThrowControlGetFailed(const std::string& name);
