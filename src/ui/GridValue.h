// The kinds of rows of the property grid and the values they hold.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

class CPropertyGridCustomItem;

// The numbers are the ones the grid's owners know the kinds by.
enum class GridKind {
    Custom = 0,
    String = 1,
    Text = 2,
    Integer = 3,
    Double = 4,
    Combo = 5,
    Bool = 6,
    Date = 7,
    DateTime = 8,
    File = 9,
    Folder = 10,
    Color = 11,
    Font = 12
};

// A calendar date with a time of day, in local time.
struct GridDateTime {
    int year = 2000;
    int month = 1; // 1 to 12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
bool operator==(const GridDateTime& a, const GridDateTime& b);
// Years 1601 to 9999 (what the platform's calendar controls take), real days,
// times of day up to 23:59:59.
bool IsValidDate(const GridDateTime& date);

struct GridColor {
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};
bool operator==(const GridColor& a, const GridColor& b);

// What the platform's font chooser gives back, in portable units.
struct GridFont {
    std::string faceName = "Tahoma";
    int pointSizeTenths = 85; // 8.5 pt
    int weight = 400;         // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1; // the platform's default character set
};
bool operator==(const GridFont& a, const GridFont& b);
// A face name that fits the platform's font record (31 characters) and a
// positive size.
bool IsValidFont(const GridFont& font);

// Text for string, text, file and folder rows; a 64-bit integer for integer
// rows and the option index of drop-down rows; the owner's object for custom rows.
using GridValue = std::variant<std::string, std::int64_t, double, bool, GridDateTime, GridColor, GridFont,
                               std::shared_ptr<CPropertyGridCustomItem>>;

// Whether the value is of the type a row of that kind holds (and valid for it).
bool FitsKind(GridKind kind, const GridValue& value);
bool SameValue(const GridValue& a, const GridValue& b);

// How a row is edited.
enum class GridEditWay {
    None,
    EditBox,  // one-line edit box over the value
    DropDown, // list of options under the value
    Calendar, // month calendar under the value
    Modal     // a modal dialog or chooser
};
// The edit way of the fixed kinds (custom rows ask their object).
GridEditWay EditWayOfKind(GridKind kind);
