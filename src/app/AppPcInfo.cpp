// The PC information report shown to the user.
#include "app/App.h"

#include "base/DebugLog.h"
#include "i18n/StringTable.h"
#include "sysinfo/PcInfoReport.h"

#include <algorithm>

namespace cadrels {

void App::ShowPcInfo(HWND owner)
{
    // A closed owner would make MessageBoxW fail and show nothing.
    if (owner != nullptr && !IsWindow(owner)) {
        owner = nullptr;
    }
    const std::wstring report = BuildPcInfoReport(monitors_);
    DebugLog(L"Infos PC : rapport de %u lignes affiche.",
             static_cast<unsigned>(std::count(report.begin(), report.end(), L'\n')));
    // Without an owner the box belongs to a background process and would
    // otherwise open behind the window the user is looking at.
    const UINT style = MB_OK | MB_ICONINFORMATION | (owner == nullptr ? MB_SETFOREGROUND : 0);
    MessageBoxW(owner, report.c_str(), Tr(TextId::PcInfo), style);
}

}  // namespace cadrels
