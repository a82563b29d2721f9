#include "ui/win32/PropertyGridDialogs.h"

#include "ui/win32/Win32Support.h"

#include <commctrl.h>

namespace {

constexpr WORD TextId = 1000;
constexpr WORD DateId = 1001;
constexpr WORD TimeId = 1002;

constexpr DWORD ButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

}

CPropertyGridTextDialog::CPropertyGridTextDialog(HWND parent, const std::string& title, const std::string& text,
                                                 const std::string& okText, const std::string& cancelText)
    : CDynDialogEx(parent, title, 250, 130), mText(text)
{
    AddItem(CDynDialogItemEx("EDIT", text,
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                                 ES_AUTOVSCROLL | ES_WANTRETURN,
                             0, RECT{7, 7, 243, 103}, TextId));
    AddItem(CDynDialogItemEx("BUTTON", okText, ButtonStyle | BS_DEFPUSHBUTTON, 0, RECT{136, 109, 186, 123}, IDOK));
    AddItem(CDynDialogItemEx("BUTTON", cancelText, ButtonStyle | BS_PUSHBUTTON, 0, RECT{193, 109, 243, 123},
                             IDCANCEL));
}

void CPropertyGridTextDialog::OnOK(HWND dialog)
{
    mText = Win32Support::WindowText(GetDlgItem(dialog, TextId));
}

CPropertyGridDateTimeDialog::CPropertyGridDateTimeDialog(HWND parent, const std::string& title,
                                                         const GridDateTime& value, const std::string& dateLabel,
                                                         const std::string& timeLabel, const std::string& okText,
                                                         const std::string& cancelText)
    : CDynDialogEx(parent, title, 170, 72), mValue(value)
{
    AddItem(CDynDialogItemEx("STATIC", dateLabel, WS_CHILD | WS_VISIBLE, 0, RECT{7, 9, 50, 19}, 0xFFFF));
    AddItem(CDynDialogItemEx(DATETIMEPICK_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, 0,
                             RECT{55, 7, 163, 21}, DateId));
    AddItem(CDynDialogItemEx("STATIC", timeLabel, WS_CHILD | WS_VISIBLE, 0, RECT{7, 29, 50, 39}, 0xFFFF));
    AddItem(CDynDialogItemEx(DATETIMEPICK_CLASSA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_TIMEFORMAT, 0,
                             RECT{55, 27, 163, 41}, TimeId));
    AddItem(CDynDialogItemEx("BUTTON", okText, ButtonStyle | BS_DEFPUSHBUTTON, 0, RECT{56, 51, 106, 65}, IDOK));
    AddItem(CDynDialogItemEx("BUTTON", cancelText, ButtonStyle | BS_PUSHBUTTON, 0, RECT{113, 51, 163, 65},
                             IDCANCEL));
}

void CPropertyGridDateTimeDialog::OnInitDialog(HWND dialog)
{
    SYSTEMTIME time = Win32Support::ToSystemTime(mValue);
    SendDlgItemMessageA(dialog, DateId, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    SendDlgItemMessageA(dialog, TimeId, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void CPropertyGridDateTimeDialog::OnOK(HWND dialog)
{
    SYSTEMTIME date{};
    SYSTEMTIME time{};
    if (SendDlgItemMessageA(dialog, DateId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) == GDT_VALID) {
        mValue.year = date.wYear;
        mValue.month = date.wMonth;
        mValue.day = date.wDay;
    }
    if (SendDlgItemMessageA(dialog, TimeId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) == GDT_VALID) {
        mValue.hour = time.wHour;
        mValue.minute = time.wMinute;
        mValue.second = time.wSecond;
    }
}
