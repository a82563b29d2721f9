// A grid filled with one row of every kind, as a camera's settings might look.
#pragma once

#include "ui/PropertyGridModel.h"

struct GridSample {
    int mAcquisition = -1;
    int mWidth = -1;
    int mHeight = -1; // disabled
    int mExposure = -1;
    int mPixelFormat = -1;
    int mReverseX = -1;
    int mUserId = -1;
    int mStorage = -1;
    int mFolder = -1;
    int mReference = -1;
    int mNotes = -1;
    int mCalibrated = -1;
    int mServiced = -1;
    int mDisplay = -1;
    int mOverlay = -1;
    int mFont = -1;
    int mCustom = -1;
};

GridSample FillSample(CPropertyGridModel& grid);
