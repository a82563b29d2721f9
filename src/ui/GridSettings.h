// The property grid's settings and the texts it shows, with their initial values.
#pragma once

#include <string>

enum class GridDisplayMode {
    Sections, // section titles with their rows, in insertion order
    Flat      // all rows without titles, sorted by name in ascending byte order
};

struct GridSettings {
    GridDisplayMode displayMode = GridDisplayMode::Sections;
    bool shadeTitles = true;    // section titles in the button-face colour
    bool drawLines = true;      // horizontal lines between rows
    bool drawGutter = true;     // vertical line at the column divider
    bool focusDisabled = true;  // disabled rows may take the focus
    bool boldModified = false;  // changed values drawn bold
    bool boldEditables = false; // enabled values drawn bold
    std::string trueText = "True";
    std::string falseText = "False";
    std::string dateLabel = "Date";
    std::string timeLabel = "Time";
    std::string undefinedText;
    std::string emptyMessage; // shown when the grid has no section
    // Button texts of the modal dialogs; empty: the parent window's OK and
    // Cancel captions where it has those buttons, else "OK" and "Cancel".
    std::string okText;
    std::string cancelText;
};
