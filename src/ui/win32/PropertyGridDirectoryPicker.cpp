#include "ui/win32/PropertyGridDirectoryPicker.h"

#include <objbase.h>
#include <shlobj.h>

#include <utility>

namespace {

// The shell's chooser needs COM on this thread; the host may or may not have it.
class ComScope {
public:
    ComScope() : mResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope()
    {
        if (SUCCEEDED(mResult)) {
            CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT mResult;
};

}

CPropertyGridDirectoryPicker::CPropertyGridDirectoryPicker(std::string title) : mTitle(std::move(title))
{
}

int CALLBACK CPropertyGridDirectoryPicker::Callback(HWND window, UINT message, LPARAM /*lParam*/, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0) {
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

bool CPropertyGridDirectoryPicker::Pick(HWND owner, std::string& path) const
{
    ComScope com;
    char chosen[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pszDisplayName = chosen;
    info.lpszTitle = mTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = &CPropertyGridDirectoryPicker::Callback;
    info.lParam = path.empty() ? 0 : reinterpret_cast<LPARAM>(path.c_str());
    PIDLIST_ABSOLUTE list = SHBrowseForFolderA(&info);
    if (list == nullptr) {
        return false;
    }
    const bool found = SHGetPathFromIDListA(list, chosen) != FALSE;
    CoTaskMemFree(list);
    if (found) {
        path = chosen;
    }
    return found;
}
