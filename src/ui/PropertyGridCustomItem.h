// The object behind a custom row of the property grid: it supplies the text
// the row shows and decides how the row is edited.
#pragma once

#include "ui/GridValue.h"

#include <string>
#include <vector>

class CPropertyGridCustomItem {
public:
    virtual ~CPropertyGridCustomItem() = default;

    // The text the row shows when the object draws nothing itself.
    virtual std::string GetDisplayText() const = 0;
    virtual GridEditWay GetEditWay() const { return GridEditWay::None; }

    // Edit box: the text it is prefilled with, and the text it hands back;
    // true when the object took the text.
    virtual std::string GetEditText() const { return GetDisplayText(); }
    virtual bool SetEditText(const std::string& /*text*/) { return false; }

    // Drop-down list: the lines, the highlighted one (-1 for none), and the
    // user's choice; true when the object took it.
    virtual std::vector<std::string> GetOptions() const { return {}; }
    virtual int GetSelectedOption() const { return -1; }
    virtual bool ChooseOption(int /*index*/) { return false; }

    // Modal editing: the object runs its own dialog, owned by the given
    // platform window; true when the user changed the value.
    virtual bool EditModal(void* /*parentWindow*/) { return false; }

    // Draws the value into the platform's drawing context within the given
    // rectangle; false leaves the drawing to the grid, which shows the text.
    virtual bool DrawValue(void* /*context*/, int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) const
    {
        return false;
    }
};
