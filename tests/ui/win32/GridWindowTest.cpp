// The grid's window driven with real window messages, as the dialog's user
// would: clicks, keys, the wheel, typing into the edit box and choosing in the
// drop-down list; the parent window records what the grid tells it.
#include "GridSample.h"

#include "ui/win32/PropertyGrid.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

#include <string>
#include <utility>
#include <vector>

namespace {

struct Notification {
    UINT message;
    int item;
    bool operator==(const Notification& other) const { return message == other.message && item == other.item; }
};

std::vector<Notification> gNotifications;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == CPropertyGrid::ItemChangedMessage || message == CPropertyGrid::SelectionChangedMessage) {
        gNotifications.push_back(Notification{message, static_cast<int>(wParam)});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* const HostClass = "KavrixGridTestHost";

Notification Changed(int item)
{
    return Notification{CPropertyGrid::ItemChangedMessage, item};
}

Notification Selected(int item)
{
    return Notification{CPropertyGrid::SelectionChangedMessage, item};
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void Pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Key(HWND window, WPARAM key)
{
    SendMessageA(window, WM_KEYDOWN, key, 1);
    SendMessageA(window, WM_KEYUP, key, 0xC0000001);
    Pump();
}

void Type(HWND window, const std::string& text)
{
    for (char c : text) {
        SendMessageA(window, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 1);
    }
    Pump();
}

}

class GridWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CPropertyGrid::RegisterWindowClass());
        WNDCLASSEXA host{};
        host.cbSize = sizeof host;
        host.lpfnWndProc = HostProc;
        host.hInstance = GetModuleHandleA(nullptr);
        host.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        host.lpszClassName = HostClass;
        RegisterClassExA(&host);
        mHost = CreateWindowExA(0, HostClass, "Property grid", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 460, 420,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(mHost, nullptr);
        mGrid = CPropertyGrid::Create(mHost, RECT{10, 10, 430, 360}, 100);
        ASSERT_NE(mGrid, nullptr);
        mWindow = mGrid->GetHandle();
        mSample = FillSample(Model());
        SetForegroundWindow(mHost);
        SetFocus(mWindow);
        UpdateWindow(mHost);
        Pump();
        gNotifications.clear();
    }

    void TearDown() override
    {
        DestroyWindow(mHost);
        Pump();
    }

    CPropertyGridModel& Model() { return mGrid->GetModel(); }

    int EntryOf(int item)
    {
        const std::vector<GridEntry>& entries = Model().GetEntries();
        for (std::size_t at = 0; at < entries.size(); ++at) {
            if (!entries[at].mIsSection && entries[at].mId == item) {
                return static_cast<int>(at);
            }
        }
        return -1;
    }

    // A point in the grid's client area on the row's name or value.
    POINT NamePoint(int item) { return POINT{40, Model().GetEntryTop(EntryOf(item)) + Model().GetRowHeight() / 2}; }
    POINT ValuePoint(int item)
    {
        return POINT{Model().GetDividerX() + 40, Model().GetEntryTop(EntryOf(item)) + Model().GetRowHeight() / 2};
    }

    void Mouse(UINT message, POINT point)
    {
        SendMessageA(mWindow, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(point.x, point.y));
        Pump();
    }

    void Click(POINT point)
    {
        Mouse(WM_LBUTTONDOWN, point);
        Mouse(WM_LBUTTONUP, point);
    }

    void DoubleClick(POINT point)
    {
        Click(point);
        Mouse(WM_LBUTTONDBLCLK, point);
        Mouse(WM_LBUTTONUP, point);
    }

    // The grid's child windows that are showing (its open editors).
    std::vector<HWND> OpenEditors()
    {
        std::vector<HWND> children;
        for (HWND child = GetWindow(mWindow, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (IsWindowVisible(child)) {
                children.push_back(child);
            }
        }
        return children;
    }

    HWND mHost = nullptr;
    CPropertyGrid* mGrid = nullptr;
    HWND mWindow = nullptr;
    GridSample mSample;
};

TEST_F(GridWindowTest, TheOwnerFindsTheGridAndItsMetrics)
{
    EXPECT_EQ(CPropertyGrid::FromHandle(mWindow), mGrid);
    EXPECT_EQ(CPropertyGrid::FromHandle(mHost), nullptr);
    EXPECT_EQ(CPropertyGrid::FromHandle(nullptr), nullptr);
    EXPECT_EQ(ClassOf(mWindow), CPropertyGrid::ClassName);

    RECT client{};
    GetClientRect(mWindow, &client);
    EXPECT_EQ(Model().GetClientWidth(), client.right);
    EXPECT_EQ(Model().GetDividerX(), client.right / 2);
    // "Gg" in the grid's font plus 4 pixels.
    const HDC dc = GetDC(mWindow);
    const HGDIOBJ old = SelectObject(dc, mGrid->GetFont());
    SIZE size{};
    GetTextExtentPoint32A(dc, "Gg", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(mWindow, dc);
    EXPECT_EQ(Model().GetRowHeight(), size.cy + 4);
    LOGFONTA font{};
    GetObjectA(mGrid->GetFont(), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "Tahoma") << "the host window has no font of its own";
    EXPECT_EQ(SendMessageA(mWindow, WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTCHARS),
              DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(GridWindowTest, ClicksAndKeysMoveTheFocusAndTellTheParent)
{
    Click(NamePoint(mSample.mExposure));
    EXPECT_EQ(Model().GetFocusedItem(), mSample.mExposure);
    EXPECT_EQ(GetFocus(), mWindow);
    Key(mWindow, VK_DOWN);
    EXPECT_EQ(Model().GetFocusedItem(), mSample.mPixelFormat);
    Key(mWindow, VK_UP);
    Key(mWindow, VK_UP);
    EXPECT_EQ(Model().GetFocusedItem(), mSample.mHeight) << "disabled, and still focusable";
    Key(mWindow, VK_LEFT);
    Key(mWindow, VK_LEFT);
    EXPECT_EQ(Model().GetFocusedSection(), mSample.mAcquisition);
    Type(mWindow, "-");
    EXPECT_EQ(Model().GetEntries().size(), 11u) << "the section collapsed";
    Type(mWindow, "*");
    EXPECT_EQ(Model().GetEntries().size(), 17u);
    EXPECT_EQ(gNotifications,
              (std::vector<Notification>{Selected(mSample.mExposure), Selected(mSample.mPixelFormat),
                                         Selected(mSample.mExposure), Selected(mSample.mHeight),
                                         Selected(mSample.mWidth), Selected(-1)}));

    // A disabled row opens no editor.
    Click(ValuePoint(mSample.mHeight));
    EXPECT_EQ(Model().GetFocusedItem(), mSample.mHeight);
    EXPECT_TRUE(OpenEditors().empty());
}

TEST_F(GridWindowTest, TypingIntoTheEditBoxStoresTheNumber)
{
    Click(ValuePoint(mSample.mWidth));
    const HWND edit = GetFocus();
    ASSERT_EQ(OpenEditors(), std::vector<HWND>{edit});
    EXPECT_EQ(ClassOf(edit), "Edit");
    EXPECT_EQ(TextOf(edit), "1280") << "prefilled with %I64d";
    SendMessageA(edit, EM_SETSEL, 0, -1);
    Type(edit, "2048");
    Key(edit, VK_RETURN);
    EXPECT_EQ(GetFocus(), mWindow) << "Enter gives the focus back";
    EXPECT_TRUE(OpenEditors().empty());
    std::int64_t width = 0;
    ASSERT_TRUE(Model().GetItemValue(mSample.mWidth, width));
    EXPECT_EQ(width, 2048);
    EXPECT_EQ(gNotifications, (std::vector<Notification>{Selected(mSample.mWidth), Changed(mSample.mWidth)}));

    // Escape puts the prefilled text back; the row is reported unchanged.
    gNotifications.clear();
    Click(ValuePoint(mSample.mWidth));
    Type(GetFocus(), "99");
    Key(GetFocus(), VK_ESCAPE);
    ASSERT_TRUE(Model().GetItemValue(mSample.mWidth, width));
    EXPECT_EQ(width, 2048);
    EXPECT_EQ(gNotifications, std::vector<Notification>{Changed(mSample.mWidth)});

    // An emptied box changes nothing and sends nothing; a click elsewhere closes it.
    gNotifications.clear();
    Click(ValuePoint(mSample.mWidth));
    SetWindowTextA(GetFocus(), "");
    Click(NamePoint(mSample.mUserId));
    EXPECT_TRUE(OpenEditors().empty());
    ASSERT_TRUE(Model().GetItemValue(mSample.mWidth, width));
    EXPECT_EQ(width, 2048);
    EXPECT_EQ(gNotifications, std::vector<Notification>{Selected(mSample.mUserId)});

    // A floating-point row left as prefilled keeps its exact value.
    Click(ValuePoint(mSample.mExposure));
    EXPECT_EQ(TextOf(GetFocus()), "30.0003");
    Key(GetFocus(), VK_TAB);
    double exposure = 0;
    ASSERT_TRUE(Model().GetItemValue(mSample.mExposure, exposure));
    EXPECT_EQ(exposure, 30.0003001);
}

TEST_F(GridWindowTest, TheDropDownListChoosesByKeyAndByClick)
{
    Click(ValuePoint(mSample.mPixelFormat));
    const HWND list = GetFocus();
    ASSERT_EQ(OpenEditors(), std::vector<HWND>{list});
    EXPECT_EQ(ClassOf(list), "KavrixPropertyGridList");
    RECT listRect{};
    GetWindowRect(list, &listRect);
    POINT corner{listRect.left, listRect.top};
    ScreenToClient(mWindow, &corner);
    EXPECT_EQ(corner.y, Model().GetEntryTop(EntryOf(mSample.mPixelFormat)) + Model().GetRowHeight())
        << "right under the row";

    Key(list, VK_UP);
    Key(list, VK_DOWN);
    Key(list, VK_DOWN);
    Key(list, VK_DOWN);
    Key(list, VK_DOWN);
    Key(list, VK_RETURN);
    std::string format;
    ASSERT_TRUE(Model().GetItemValue(mSample.mPixelFormat, format));
    EXPECT_EQ(format, "Mono12") << "the highlight stops at the last line";
    EXPECT_TRUE(OpenEditors().empty());

    // A boolean list shows True first; a click on its second line stores false.
    Click(ValuePoint(mSample.mReverseX));
    const HWND flags = GetFocus();
    ASSERT_EQ(ClassOf(flags), "KavrixPropertyGridList");
    const int line = Model().GetRowHeight();
    SendMessageA(flags, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, line + line / 2));
    Pump();
    bool reverse = true;
    ASSERT_TRUE(Model().GetItemValue(mSample.mReverseX, reverse));
    EXPECT_FALSE(reverse);

    // Escape closes without a choice.
    gNotifications.clear();
    Click(ValuePoint(mSample.mPixelFormat));
    Key(GetFocus(), VK_UP);
    Key(GetFocus(), VK_ESCAPE);
    EXPECT_TRUE(OpenEditors().empty());
    ASSERT_TRUE(Model().GetItemValue(mSample.mPixelFormat, format));
    EXPECT_EQ(format, "Mono12");
    EXPECT_TRUE(gNotifications.empty() || gNotifications == std::vector<Notification>{Selected(mSample.mPixelFormat)});
    EXPECT_EQ(Model().GetEditorItem(), -1);
}

TEST_F(GridWindowTest, DoubleClicksToggleAndCycle)
{
    DoubleClick(NamePoint(mSample.mReverseX));
    bool reverse = false;
    ASSERT_TRUE(Model().GetItemValue(mSample.mReverseX, reverse));
    EXPECT_TRUE(reverse);
    DoubleClick(NamePoint(mSample.mCustom));
    EXPECT_EQ(Model().GetItemText(mSample.mCustom), "f/2.8") << "custom rows do not cycle";
    EXPECT_TRUE(OpenEditors().empty());
    DoubleClick(NamePoint(mSample.mPixelFormat));
    DoubleClick(NamePoint(mSample.mPixelFormat));
    std::int64_t index = 0;
    ASSERT_TRUE(Model().GetItemValue(mSample.mPixelFormat, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(std::count(gNotifications.begin(), gNotifications.end(), Changed(mSample.mPixelFormat)), 2);
}

TEST_F(GridWindowTest, TheWheelAndTheScrollBarMoveTheRows)
{
    for (int i = 0; i < 30; ++i) {
        Model().AddStringItem(mSample.mDisplay, "Extra" + std::to_string(i), "x");
    }
    const int row = Model().GetRowHeight();
    SendMessageA(mWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(100, 100));
    Pump();
    EXPECT_EQ(Model().GetScrollPos(), 3 * row);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(mWindow, SB_VERT, &info);
    EXPECT_EQ(info.nPos, 3 * row);
    EXPECT_EQ(info.nMax, Model().GetContentHeight() - 1);
    EXPECT_EQ(static_cast<int>(info.nPage), Model().GetClientHeight());

    SendMessageA(mWindow, WM_VSCROLL, SB_BOTTOM, 0);
    Pump();
    EXPECT_EQ(Model().GetScrollPos(), Model().GetContentHeight() - Model().GetClientHeight());
    SendMessageA(mWindow, WM_VSCROLL, SB_LINEUP, 0);
    Pump();
    EXPECT_EQ(Model().GetScrollPos(), Model().GetContentHeight() - Model().GetClientHeight() - row);
    SendMessageA(mWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, 2 * WHEEL_DELTA), 0);
    SendMessageA(mWindow, WM_VSCROLL, SB_TOP, 0);
    Pump();
    EXPECT_EQ(Model().GetScrollPos(), 0);
}

TEST_F(GridWindowTest, TheDividerFollowsADragWithinItsLimits)
{
    const int width = Model().GetClientWidth();
    const int y = 5;
    Mouse(WM_LBUTTONDOWN, POINT{Model().GetDividerX() + 1, y});
    EXPECT_EQ(GetCapture(), mWindow);
    Mouse(WM_MOUSEMOVE, POINT{2, y});
    EXPECT_EQ(Model().GetDividerX(), width / 5);
    Mouse(WM_MOUSEMOVE, POINT{width / 3, y});
    Mouse(WM_LBUTTONUP, POINT{width / 3, y});
    EXPECT_EQ(Model().GetDividerX(), width / 3);
    EXPECT_EQ(GetCapture(), nullptr);
}

namespace {

// Runs inside the modal dialog's loop: finds the dialog, fills it and presses OK.
struct ModalScript {
    std::string title;
    std::string okCaption;
    std::string cancelCaption;
    void (*fill)(HWND dialog) = nullptr;
};
ModalScript gScript;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    if (ClassOf(window) == "#32770" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerDialog(HWND host, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;
    }
    KillTimer(host, timer);
    gScript.title = TextOf(dialog);
    gScript.okCaption = TextOf(GetDlgItem(dialog, IDOK));
    gScript.cancelCaption = TextOf(GetDlgItem(dialog, IDCANCEL));
    gScript.fill(dialog);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}

TEST_F(GridWindowTest, TheRunTimeDialogsEditTextAndDateTime)
{
    gScript = ModalScript{};
    gScript.fill = [](HWND dialog) { SetDlgItemTextA(dialog, 1000, "one\r\ntwo\r\nthree"); };
    SetTimer(mHost, 1, 50, AnswerDialog);
    DoubleClick(NamePoint(mSample.mNotes));
    EXPECT_EQ(gScript.title, "Notes");
    EXPECT_EQ(gScript.okCaption, "OK");
    EXPECT_EQ(gScript.cancelCaption, "Cancel");
    std::string notes;
    ASSERT_TRUE(Model().GetItemValue(mSample.mNotes, notes));
    EXPECT_EQ(notes, "one\r\ntwo\r\nthree");
    EXPECT_EQ(Model().GetItemText(mSample.mNotes), "one\xB6two\xB6three");

    GridSettings settings = Model().GetSettings();
    settings.okText = "Take";
    Model().SetSettings(settings);
    gScript = ModalScript{};
    gScript.fill = [](HWND dialog) {
        SYSTEMTIME time{};
        time.wYear = 2025;
        time.wMonth = 12;
        time.wDay = 24;
        time.wHour = 18;
        time.wMinute = 30;
        time.wSecond = 5;
        SendDlgItemMessageA(dialog, 1001, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
        SendDlgItemMessageA(dialog, 1002, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
    };
    gNotifications.clear();
    SetTimer(mHost, 1, 50, AnswerDialog);
    // The "..." button of the focused row opens it too.
    Click(NamePoint(mSample.mServiced));
    Click(POINT{Model().GetClientWidth() - 3, NamePoint(mSample.mServiced).y});
    EXPECT_EQ(gScript.title, "Serviced");
    EXPECT_EQ(gScript.okCaption, "Take");
    GridDateTime serviced;
    ASSERT_TRUE(Model().GetItemValue(mSample.mServiced, serviced));
    EXPECT_EQ(serviced, (GridDateTime{2025, 12, 24, 18, 30, 5}));
    EXPECT_EQ(gNotifications, (std::vector<Notification>{Selected(mSample.mServiced), Changed(mSample.mServiced)}));
}

TEST_F(GridWindowTest, TheMonthCalendarDropsDownAndTakesADay)
{
    Click(ValuePoint(mSample.mCalibrated));
    const HWND calendar = GetFocus();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(ClassOf(calendar), "SysMonthCal32");
    SYSTEMTIME day{};
    day.wYear = 2024;
    day.wMonth = 3;
    day.wDay = 12;
    SendMessageA(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&day));
    Key(calendar, VK_RETURN);
    GridDateTime calibrated;
    ASSERT_TRUE(Model().GetItemValue(mSample.mCalibrated, calibrated));
    EXPECT_EQ(calibrated, (GridDateTime{2024, 3, 12}));
    EXPECT_FALSE(IsWindowVisible(GetParent(calendar)));
    EXPECT_EQ(Model().GetEditorItem(), -1);
    EXPECT_EQ(gNotifications.back(), Changed(mSample.mCalibrated));

    // Escape closes it without a change.
    Click(ValuePoint(mSample.mCalibrated));
    Key(GetFocus(), VK_ESCAPE);
    ASSERT_TRUE(Model().GetItemValue(mSample.mCalibrated, calibrated));
    EXPECT_EQ(calibrated, (GridDateTime{2024, 3, 12}));
    EXPECT_EQ(Model().GetEditorItem(), -1);
}

TEST_F(GridWindowTest, AnOpenEditBoxHandsItsTextBackWhenTheGridGoesAway)
{
    Click(ValuePoint(mSample.mUserId));
    SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
    Type(GetFocus(), "Line 4");
    // The owner disables the row while it is being edited: nothing is stored.
    Model().SetItemEditable(mSample.mUserId, false);
    std::string id;
    ASSERT_TRUE(Model().GetItemValue(mSample.mUserId, id));
    EXPECT_EQ(id, "Line 3 camera");
    EXPECT_TRUE(OpenEditors().empty());

    Click(ValuePoint(mSample.mWidth));
    Type(GetFocus(), "7");
    DestroyWindow(mHost);
    mHost = nullptr;
    Pump();
    SUCCEED() << "destroyed with an open editor";
}
