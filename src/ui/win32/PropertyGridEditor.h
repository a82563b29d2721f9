// What the grid's in-place editors (edit box, drop-down list, month calendar)
// have in common: a window over or under a row that reports once to the grid.
#pragma once

#include <windows.h>

class CPropertyGridEditor {
public:
    CPropertyGridEditor(HWND grid, int item) : mGrid(grid), mItem(item) {}
    virtual ~CPropertyGridEditor() = default;
    CPropertyGridEditor(const CPropertyGridEditor&) = delete;
    CPropertyGridEditor& operator=(const CPropertyGridEditor&) = delete;

    // Hands the result back now (an edit box its text; the lists nothing).
    virtual void Close() = 0;
    // Closes without any report (the grid is going away).
    void Abandon() { mReported = true; }
    virtual HWND GetHandle() const = 0;
    int GetItem() const { return mItem; }

protected:
    // Sends one message to the grid, at most once per editor.
    void Report(UINT message, LPARAM lParam)
    {
        if (mReported) {
            return;
        }
        mReported = true;
        SendMessageA(mGrid, message, static_cast<WPARAM>(mItem), lParam);
    }
    bool HasReported() const { return mReported; }

    HWND mGrid;
    int mItem;

private:
    bool mReported = false;
};
