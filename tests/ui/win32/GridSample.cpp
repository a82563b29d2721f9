#include "GridSample.h"

#include "ui/PropertyGridCustomItem.h"

#include <memory>

namespace {

// A custom row: a lens aperture shown as "f/2.8", picked from a list.
class Aperture : public CPropertyGridCustomItem {
public:
    std::string GetDisplayText() const override { return "f/" + GetOptions()[static_cast<std::size_t>(mIndex)]; }
    GridEditWay GetEditWay() const override { return GridEditWay::DropDown; }
    std::vector<std::string> GetOptions() const override { return {"1.4", "2", "2.8", "4", "5.6", "8"}; }
    int GetSelectedOption() const override { return mIndex; }
    bool ChooseOption(int index) override
    {
        mIndex = index;
        return true;
    }

private:
    int mIndex = 2;
};

}

GridSample FillSample(CPropertyGridModel& grid)
{
    GridSample s;
    s.mAcquisition = grid.AddSection("Acquisition");
    s.mWidth = grid.AddIntegerItem(s.mAcquisition, "Width", 1280);
    s.mHeight = grid.AddIntegerItem(s.mAcquisition, "Height", 1024, "", false);
    s.mExposure = grid.AddDoubleItem(s.mAcquisition, "ExposureTime", 30.0003001);
    s.mPixelFormat = grid.AddComboItem(s.mAcquisition, "PixelFormat", {"Mono8", "Mono10", "Mono12"}, 0);
    s.mReverseX = grid.AddBoolItem(s.mAcquisition, "ReverseX", false);
    s.mUserId = grid.AddStringItem(s.mAcquisition, "DeviceUserID", "Line 3 camera");
    s.mStorage = grid.AddSection("Storage");
    s.mFolder = grid.AddFolderItem(s.mStorage, "ImageFolder", "C:\\inspection\\images\\line3");
    s.mReference = grid.AddFileItem(s.mStorage, "ReferenceImage",
                                    "C:\\inspection\\images\\reference\\golden_sample_0001.bmp",
                                    "Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.*|");
    s.mNotes = grid.AddTextItem(s.mStorage, "Notes", "first line\r\nsecond line");
    s.mCalibrated = grid.AddDateItem(s.mStorage, "Calibrated", GridDateTime{2024, 3, 5});
    s.mServiced = grid.AddDateTimeItem(s.mStorage, "Serviced", GridDateTime{2024, 3, 5, 14, 7, 9});
    s.mDisplay = grid.AddSection("Display");
    s.mOverlay = grid.AddColorItem(s.mDisplay, "OverlayColour", GridColor{255, 128, 0});
    GridFont font;
    font.faceName = "Tahoma";
    font.pointSizeTenths = 90;
    s.mFont = grid.AddFontItem(s.mDisplay, "OverlayFont", font);
    s.mCustom = grid.AddCustomItem(s.mDisplay, "Aperture", std::make_shared<Aperture>());
    return s;
}
