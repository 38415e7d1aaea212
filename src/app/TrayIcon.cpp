#include "app/TrayIcon.h"

#include "i18n/StringTable.h"

#include <cwchar>

namespace cadrels {

std::wstring TrayTooltip(const std::wstring& brandName)
{
    std::wstring tooltip =
        !brandName.empty() && brandName != L"Cadrels" ? brandName : std::wstring(Tr(TextId::TrayTooltip));
    if (tooltip.size() > TrayTooltipMaxChars) {
        tooltip.resize(TrayTooltipMaxChars);
    }
    return tooltip;
}

TrayIcon::~TrayIcon()
{
    Remove();
}

bool TrayIcon::Add(HWND window, UINT callbackMessage, HINSTANCE instance, const std::wstring& tooltip)
{
    if (icon_ == nullptr) {
        // LR_SHARED: the system owns the icon, so there is nothing to destroy.
        icon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                              GetSystemMetrics(SM_CYSMICON), LR_SHARED));
        if (icon_ == nullptr) {
            icon_ = LoadIconW(nullptr, IDI_APPLICATION);
        }
    }
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = TrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon_;
    wcsncpy(data_.szTip, tooltip.c_str(), TrayTooltipMaxChars);
    data_.szTip[TrayTooltipMaxChars] = L'\0';
    // After a spurious "TaskbarCreated" the icon may still be there: then the
    // add fails and a modify confirms it.
    added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
    return added_;
}

void TrayIcon::SetTooltip(const std::wstring& tooltip)
{
    wcsncpy(data_.szTip, tooltip.c_str(), TrayTooltipMaxChars);
    data_.szTip[TrayTooltipMaxChars] = L'\0';
    if (added_) {
        NOTIFYICONDATAW change = data_;
        change.uFlags = NIF_TIP;
        Shell_NotifyIconW(NIM_MODIFY, &change);
    }
}

void TrayIcon::Remove()
{
    if (added_) {
        Shell_NotifyIconW(NIM_DELETE, &data_);
        added_ = false;
    }
}

}  // namespace cadrels
