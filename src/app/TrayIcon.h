// The notification-area icon: the program's only permanent entry point.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace cadrels {

inline constexpr UINT TrayIconId = 1;
inline constexpr size_t TrayTooltipMaxChars = 127;

// The brand name when it is set and is not "Cadrels", else the usual hint;
// cut to what the notification area holds.
std::wstring TrayTooltip(const std::wstring& brandName);

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Adds the icon (again, after the shell's notification area restarted).
    bool Add(HWND window, UINT callbackMessage, HINSTANCE instance, const std::wstring& tooltip);
    void SetTooltip(const std::wstring& tooltip);
    void Remove();
    bool Added() const { return added_; }

private:
    NOTIFYICONDATAW data_{};
    HICON icon_ = nullptr;  // shared resource icon or IDI_APPLICATION: not destroyed
    bool added_ = false;
};

}  // namespace cadrels
