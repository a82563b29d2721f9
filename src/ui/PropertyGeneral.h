// The configuration page's behaviour: one grid row per visible parameter,
// grouped by category; every edit goes straight back into the parameter and
// the whole set is validated at once. The Win32 page only passes the grid's
// notifications on and shows the two labels.
#pragma once

#include "params/CameraParameters.h"
#include "ui/ConfigurationSheet.h"
#include "ui/PropertyGridModel.h"

#include <map>
#include <string>

// The two lines under the grid: name (and range) and description of the
// selected parameter.
class CPageLabels {
public:
    virtual ~CPageLabels() = default;
    virtual void SetLabels(const std::string& name, const std::string& description) = 0;
};

class CPropertyGeneral {
public:
    static constexpr const char* Caption = "General";

    // None is owned; all outlive the page.
    CPropertyGeneral(CameraParameters& paramSet, CConfigurationSheet& sheet, CPropertyGridModel& grid,
                     CPageLabels& labels);

    // Fills the grid and focuses the row selected last.
    void SetUp();
    // The user changed the row's value.
    void OnItemChanged(int item);
    // Another row (or, with -1, none) became the focused one.
    void OnSelectionChanged(int item);

    const std::string& GetNameLabel() const { return mNameLabel; }
    const std::string& GetDescriptionLabel() const { return mDescriptionLabel; }

private:
    Param_* ParamOfRow(int item) const;
    void RememberSelection(const std::string& name);

    CameraParameters& mParamSet;
    CConfigurationSheet& mSheet;
    CPropertyGridModel& mGrid;
    CPageLabels& mLabels;
    std::string mNameLabel;
    std::string mDescriptionLabel;
    // Row id to parameter name, and category to section id.
    std::map<int, std::string> mRows;
    std::map<std::string, int> mSections;
};
