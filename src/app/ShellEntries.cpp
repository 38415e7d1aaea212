#include "app/ShellEntries.h"

namespace cadrels {

std::wstring QuotedProgramPath(std::wstring_view programPath)
{
    std::wstring quoted = L"\"";
    quoted += programPath;
    quoted += L'"';
    return quoted;
}

std::vector<ShellVerb> ShellVerbTable(std::wstring_view programPath, std::wstring_view desktopMenuLabel,
                                      std::wstring_view sendToLabel)
{
    const std::wstring quoted = QuotedProgramPath(programPath);
    const std::wstring icon = quoted + L",0";
    // The shell replaces %1 by the chosen item; the quotes keep a path with
    // spaces in one argument.
    const std::wstring sendTo = quoted + L" --send-to-path \"%1\"";
    return {
        {L"Software\\Classes\\DesktopBackground\\Shell\\Cadrels", std::wstring(desktopMenuLabel), icon,
         quoted + L" --menu"},
        {L"Software\\Classes\\*\\shell\\CadrelsSendTo", std::wstring(sendToLabel), icon, sendTo},
        {L"Software\\Classes\\Directory\\shell\\CadrelsSendTo", std::wstring(sendToLabel), icon, sendTo},
        {L"Software\\Classes\\DesktopBackground\\Shell\\CadrelsSearch", SearchVerbLabel, icon,
         quoted + L" --search"},
    };
}

std::wstring RunValueData(std::wstring_view programPath)
{
    return QuotedProgramPath(programPath) + L" --startup";
}

StartupChange ForcedStartupChange(std::optional<bool> forced, bool registered)
{
    if (!forced || *forced == registered) {
        return StartupChange::None;
    }
    return *forced ? StartupChange::Write : StartupChange::Delete;
}

}  // namespace cadrels
