#include "ui/GridValue.h"

#include "ui/PropertyGridCustomItem.h"

#include <tuple>

bool operator==(const GridDateTime& a, const GridDateTime& b)
{
    return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) ==
           std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
}

bool IsValidDate(const GridDateTime& date)
{
    static const int daysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1601 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) {
        return false;
    }
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    const int days = daysInMonth[date.month - 1] + (date.month == 2 && leap ? 1 : 0);
    return date.day <= days && date.hour >= 0 && date.hour <= 23 && date.minute >= 0 && date.minute <= 59 &&
           date.second >= 0 && date.second <= 59;
}

bool operator==(const GridColor& a, const GridColor& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

bool operator==(const GridFont& a, const GridFont& b)
{
    return std::tie(a.faceName, a.pointSizeTenths, a.weight, a.italic, a.underline, a.strikeOut, a.charSet) ==
           std::tie(b.faceName, b.pointSizeTenths, b.weight, b.italic, b.underline, b.strikeOut, b.charSet);
}

bool IsValidFont(const GridFont& font)
{
    return font.faceName.size() < 32 && font.pointSizeTenths > 0 && font.weight >= 0 && font.weight <= 1000;
}

bool FitsKind(GridKind kind, const GridValue& value)
{
    switch (kind) {
    case GridKind::Custom: {
        const auto* custom = std::get_if<std::shared_ptr<CPropertyGridCustomItem>>(&value);
        return custom != nullptr && *custom != nullptr;
    }
    case GridKind::String:
    case GridKind::Text:
    case GridKind::File:
    case GridKind::Folder:
        return std::holds_alternative<std::string>(value);
    case GridKind::Integer:
    case GridKind::Combo:
        return std::holds_alternative<std::int64_t>(value);
    case GridKind::Double:
        return std::holds_alternative<double>(value);
    case GridKind::Bool:
        return std::holds_alternative<bool>(value);
    case GridKind::Date:
    case GridKind::DateTime: {
        const auto* date = std::get_if<GridDateTime>(&value);
        return date != nullptr && IsValidDate(*date);
    }
    case GridKind::Color:
        return std::holds_alternative<GridColor>(value);
    case GridKind::Font: {
        const auto* font = std::get_if<GridFont>(&value);
        return font != nullptr && IsValidFont(*font);
    }
    }
    return false;
}

bool SameValue(const GridValue& a, const GridValue& b)
{
    return a == b;
}

GridEditWay EditWayOfKind(GridKind kind)
{
    switch (kind) {
    case GridKind::String:
    case GridKind::Integer:
    case GridKind::Double:
        return GridEditWay::EditBox;
    case GridKind::Combo:
    case GridKind::Bool:
        return GridEditWay::DropDown;
    case GridKind::Date:
        return GridEditWay::Calendar;
    case GridKind::Text:
    case GridKind::DateTime:
    case GridKind::File:
    case GridKind::Folder:
    case GridKind::Color:
    case GridKind::Font:
        return GridEditWay::Modal;
    case GridKind::Custom:
        return GridEditWay::None;
    }
    return GridEditWay::None;
}
