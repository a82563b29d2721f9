#include "ui/win32/PropertyGridChoosers.h"

#include <commdlg.h>

#include <vector>

namespace PropertyGridChoosers {

namespace {

int ScreenDpi()
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}

bool ChooseFile(HWND owner, const std::string& filter, std::string& path)
{
    // The chooser wants the parts separated by NULs and ended by two.
    std::string filters = filter.empty() ? std::string("All files (*.*)|*.*|") : filter;
    if (filters.back() != '|') {
        filters.push_back('|');
    }
    for (char& c : filters) {
        if (c == '|') {
            c = '\0';
        }
    }
    filters.push_back('\0');
    std::vector<char> file(32768, '\0');
    path.copy(file.data(), file.size() - 1);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    // The host's working folder stays where it was.
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetOpenFileNameA(&dialog)) {
        return false;
    }
    path = file.data();
    return true;
}

bool ChooseColour(HWND owner, COLORREF* customColors, GridColor& color)
{
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = RGB(color.red, color.green, color.blue);
    dialog.lpCustColors = customColors;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&dialog)) {
        return false;
    }
    color = GridColor{GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult), GetBValue(dialog.rgbResult)};
    return true;
}

bool ChooseFontFor(HWND owner, GridFont& font)
{
    const int dpi = ScreenDpi();
    LOGFONTA record{};
    record.lfHeight = -MulDiv(font.pointSizeTenths, dpi, 720);
    record.lfWeight = font.weight;
    record.lfItalic = font.italic ? TRUE : FALSE;
    record.lfUnderline = font.underline ? TRUE : FALSE;
    record.lfStrikeOut = font.strikeOut ? TRUE : FALSE;
    record.lfCharSet = static_cast<BYTE>(font.charSet);
    lstrcpynA(record.lfFaceName, font.faceName.c_str(), LF_FACESIZE);
    CHOOSEFONTA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &record;
    dialog.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS | CF_EFFECTS;
    if (!ChooseFontA(&dialog)) {
        return false;
    }
    GridFont chosen;
    chosen.faceName = record.lfFaceName;
    chosen.pointSizeTenths = dialog.iPointSize > 0
                                 ? dialog.iPointSize
                                 : MulDiv(record.lfHeight < 0 ? -record.lfHeight : record.lfHeight, 720, dpi);
    chosen.weight = record.lfWeight;
    chosen.italic = record.lfItalic != 0;
    chosen.underline = record.lfUnderline != 0;
    chosen.strikeOut = record.lfStrikeOut != 0;
    chosen.charSet = record.lfCharSet;
    if (!IsValidFont(chosen)) {
        return false;
    }
    font = chosen;
    return true;
}

}
