// The two modal editors built at run time: a multi-line text and a date with
// a time of day.
#pragma once

#include "ui/GridValue.h"
#include "ui/win32/DynDialogEx.h"

#include <string>

class CPropertyGridTextDialog : public CDynDialogEx {
public:
    CPropertyGridTextDialog(HWND parent, const std::string& title, const std::string& text,
                            const std::string& okText, const std::string& cancelText);
    const std::string& GetText() const { return mText; }

private:
    void OnOK(HWND dialog) override;

    std::string mText;
};

class CPropertyGridDateTimeDialog : public CDynDialogEx {
public:
    CPropertyGridDateTimeDialog(HWND parent, const std::string& title, const GridDateTime& value,
                                const std::string& dateLabel, const std::string& timeLabel,
                                const std::string& okText, const std::string& cancelText);
    const GridDateTime& GetValue() const { return mValue; }

private:
    void OnInitDialog(HWND dialog) override;
    void OnOK(HWND dialog) override;

    GridDateTime mValue;
};
