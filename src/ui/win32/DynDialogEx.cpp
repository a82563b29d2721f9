#include "ui/win32/DynDialogEx.h"

#include "ui/win32/PropertyGrid.h"

#include <cstring>
#include <utility>

namespace {

void AppendText(std::vector<WORD>& words, const std::string& text)
{
    // Dialog templates hold UTF-16; the driver's texts are in the ANSI code page.
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0], length);
    }
    for (wchar_t c : wide) {
        words.push_back(static_cast<WORD>(c));
    }
    words.push_back(0);
}

void AlignToDword(std::vector<WORD>& words)
{
    if (words.size() % 2 != 0) {
        words.push_back(0);
    }
}

void AppendDword(std::vector<WORD>& words, DWORD value)
{
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

// The font of a window as face name and points, when it has one.
bool FontOf(HWND window, std::string& faceName, int& points)
{
    if (window == nullptr) {
        return false;
    }
    const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA record{};
    if (font == nullptr || GetObjectA(font, sizeof record, &record) == 0) {
        return false;
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    faceName = record.lfFaceName;
    points = MulDiv(record.lfHeight < 0 ? -record.lfHeight : record.lfHeight, 72, dpi);
    return points > 0;
}

// The HLOCAL the template lives in, locked for the dialog's run.
class LocalBlock {
public:
    explicit LocalBlock(std::size_t bytes) : mHandle(LocalAlloc(LHND, bytes)) {}
    ~LocalBlock()
    {
        if (mPointer != nullptr) {
            LocalUnlock(mHandle);
        }
        if (mHandle != nullptr) {
            LocalFree(mHandle);
        }
    }
    LocalBlock(const LocalBlock&) = delete;
    LocalBlock& operator=(const LocalBlock&) = delete;

    bool Allocated() const { return mHandle != nullptr; }
    void* Lock()
    {
        mPointer = LocalLock(mHandle);
        return mPointer;
    }

private:
    HLOCAL mHandle;
    void* mPointer = nullptr;
};

}

CDynDialogEx::CDynDialogEx(HWND parent, std::string caption, int width, int height)
    : mParent(parent), mCaption(std::move(caption)), mWidth(width), mHeight(height)
{
}

void CDynDialogEx::AddItem(CDynDialogItemEx item)
{
    mItems.push_back(std::move(item));
}

void CDynDialogEx::SetFont(const std::string& faceName, int points)
{
    mFaceName = faceName;
    mPoints = points;
}

void CDynDialogEx::ChooseFont()
{
    if (!mFaceName.empty() && mPoints > 0) {
        return;
    }
    const HWND mainWindow = mParent != nullptr ? GetAncestor(mParent, GA_ROOTOWNER) : nullptr;
    if (!FontOf(mParent, mFaceName, mPoints) && !FontOf(mainWindow, mFaceName, mPoints)) {
        mFaceName = "MS Sans Serif";
        mPoints = 8;
    }
}

std::vector<WORD> CDynDialogEx::BuildTemplate() const
{
    std::vector<WORD> words;
    // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy; then menu,
    // class, caption, and with DS_SETFONT the point size and face name.
    AppendDword(words, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER);
    AppendDword(words, 0);
    words.push_back(static_cast<WORD>(mItems.size()));
    words.push_back(0);
    words.push_back(0);
    words.push_back(static_cast<WORD>(mWidth));
    words.push_back(static_cast<WORD>(mHeight));
    words.push_back(0);
    words.push_back(0);
    AppendText(words, mCaption);
    words.push_back(static_cast<WORD>(mPoints));
    AppendText(words, mFaceName);
    for (const CDynDialogItemEx& item : mItems) {
        AlignToDword(words);
        // DLGITEMTEMPLATE: style, extended style, x, y, cx, cy, id; then
        // class, caption and the size of the creation data.
        AppendDword(words, item.GetStyle());
        AppendDword(words, item.GetExtendedStyle());
        const RECT& rect = item.GetRect();
        words.push_back(static_cast<WORD>(rect.left));
        words.push_back(static_cast<WORD>(rect.top));
        words.push_back(static_cast<WORD>(rect.right - rect.left));
        words.push_back(static_cast<WORD>(rect.bottom - rect.top));
        words.push_back(item.GetId());
        AppendText(words, item.GetWindowClass());
        AppendText(words, item.GetCaption());
        words.push_back(0);
    }
    return words;
}

INT_PTR CDynDialogEx::DoModal()
{
    ChooseFont();
    const std::vector<WORD> words = BuildTemplate();
    LocalBlock block(words.size() * sizeof(WORD));
    if (!block.Allocated()) {
        MessageBoxA(mParent, "CDynDialogEx::DoModal() : LocalAllock Failed", mCaption.c_str(), MB_OK | MB_ICONERROR);
        return -1;
    }
    void* memory = block.Lock();
    if (memory == nullptr) {
        MessageBoxA(mParent, "CDynDialogEx::DoModal() : LocalLock Failed", mCaption.c_str(), MB_OK | MB_ICONERROR);
        return -1;
    }
    std::memcpy(memory, words.data(), words.size() * sizeof(WORD));
    return DialogBoxIndirectParamA(CPropertyGrid::ModuleInstance(), static_cast<LPCDLGTEMPLATEA>(memory), mParent,
                                   &CDynDialogEx::DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CDynDialogEx::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            reinterpret_cast<CDynDialogEx*>(lParam)->OnInitDialog(dialog);
            return TRUE;
        }
        auto* self = reinterpret_cast<CDynDialogEx*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (self != nullptr && message == WM_COMMAND) {
            if (LOWORD(wParam) == IDOK) {
                self->OnOK(dialog);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
        }
    } catch (...) {
        // A failure while reading the controls ends the dialog as Cancel.
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
