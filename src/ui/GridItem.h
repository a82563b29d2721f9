// One row of the property grid and one section, as the model keeps them.
#pragma once

#include "ui/GridValue.h"

#include <memory>
#include <string>
#include <vector>

struct GridItem {
    int mId = -1;
    int mSectionId = -1;
    GridKind mKind = GridKind::String;
    std::string mName;
    bool mEnabled = true;
    bool mUndefined = false;
    GridValue mValue;
    // The choices of a drop-down row; for integer, floating-point, date and
    // date-time rows the first one, when present and not empty, is the display
    // format; for file rows the chooser's filter.
    std::vector<std::string> mOptions;
    GridValue mInitialValue;
    bool mInitialUndefined = false;

    bool IsChanged() const { return mUndefined != mInitialUndefined || !SameValue(mValue, mInitialValue); }
    // The display format (empty: the kind's default).
    std::string Format() const;
    GridEditWay EditWay() const;
};

struct GridSection {
    int mId = -1;
    std::string mName;
    bool mCollapsed = false;
    // Owned one by one, so that rows stay where they are while others are added.
    std::vector<std::unique_ptr<GridItem>> mItems;
};
