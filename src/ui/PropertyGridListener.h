// Who hears from the property grid model: the owner (the two notifications)
// and the view that shows it (drawing, scrolling and the editors).
#pragma once

#include "ui/GridValue.h"

class CPropertyGridListener {
public:
    virtual ~CPropertyGridListener() = default;
    // The user has changed the row's value (also to the value it had).
    virtual void OnItemChanged(int item) = 0;
    // The focus has moved: the focused row's id, or -1 for a section title or nothing.
    virtual void OnSelectionChanged(int item) = 0;
};

class CPropertyGridView {
public:
    virtual ~CPropertyGridView() = default;
    // Something visible has changed.
    virtual void Redraw() = 0;
    // The content height or the scroll position has changed.
    virtual void ScrollChanged() = 0;
    // Open the row's editor. A modal editor runs at once and reports its
    // result (or that it closed) to the model before returning.
    virtual void OpenEditor(int item, GridEditWay way) = 0;
    // Close the open editor; an edit box still hands back its text.
    virtual void CloseEditor() = 0;
};
