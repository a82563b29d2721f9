// A property grid model wired to a recorder that stands in for both its owner
// and its window.
#pragma once

#include "ui/PropertyGridModel.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

class GridRecorder : public CPropertyGridListener, public CPropertyGridView {
public:
    void OnItemChanged(int item) override { mChanged.push_back(item); }
    void OnSelectionChanged(int item) override { mSelected.push_back(item); }
    void Redraw() override {}
    void ScrollChanged() override {}
    void OpenEditor(int item, GridEditWay way) override { mOpened.emplace_back(item, way); }
    void CloseEditor() override { ++mClosed; }

    void Clear()
    {
        mChanged.clear();
        mSelected.clear();
        mOpened.clear();
        mClosed = 0;
    }

    std::vector<int> mChanged;
    std::vector<int> mSelected;
    std::vector<std::pair<int, GridEditWay>> mOpened;
    int mClosed = 0;
};

class GridTest : public ::testing::Test {
protected:
    static constexpr int RowHeight = 20;
    static constexpr int Width = 400;
    static constexpr int Height = 200;

    GridTest()
    {
        mGrid.SetListener(&mEvents);
        mGrid.SetView(&mEvents);
        mGrid.SetRowHeight(RowHeight);
        mGrid.SetClientSize(Width, Height);
    }

    // The middle of the name or value cell of a display entry.
    int RowY(int entry) const { return mGrid.GetEntryTop(entry) + RowHeight / 2; }
    static constexpr int NameX = 100;
    static constexpr int ValueX = 300;

    void Click(int x, int y)
    {
        mGrid.OnMouseDown(x, y);
        mGrid.OnMouseUp(x, y);
    }

    // A double-click as the platform delivers it: press, release, double-click, release.
    void DoubleClick(int x, int y)
    {
        Click(x, y);
        mGrid.OnDoubleClick(x, y);
        mGrid.OnMouseUp(x, y);
    }

    CPropertyGridModel mGrid;
    GridRecorder mEvents;
};
