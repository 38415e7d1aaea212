#include "app/ShellVerbs.h"

#include "app/ShellEntries.h"
#include "base/UniqueHandle.h"
#include "i18n/StringTable.h"

namespace cadrels {
namespace {

bool SetStringValue(HKEY key, const wchar_t* name, const std::wstring& data)
{
    // REG_SZ sizes count the terminating zero.
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()), bytes) ==
           ERROR_SUCCESS;
}

UniqueKey CreateKeyForWriting(HKEY parent, const wchar_t* path)
{
    UniqueKey key;
    if (RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                        nullptr, key.Put(), nullptr) != ERROR_SUCCESS) {
        key.Reset();
    }
    return key;
}

}  // namespace

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    // A full buffer means the path was cut short.
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::wstring(path, length);
}

void WriteShellVerbs()
{
    const std::wstring programPath = ProgramPath();
    if (!programPath.empty()) {
        WriteShellVerbsUnder(HKEY_CURRENT_USER, programPath);
    }
}

void WriteShellVerbsUnder(HKEY root, const std::wstring& programPath)
{
    for (const ShellVerb& verb : ShellVerbTable(programPath, Tr(TextId::ConfigureCadrels), Tr(TextId::SendCadrel))) {
        const UniqueKey key = CreateKeyForWriting(root, verb.key.c_str());
        if (!key) {
            continue;
        }
        SetStringValue(key.Get(), nullptr, verb.label);
        SetStringValue(key.Get(), L"Icon", verb.icon);
        if (const UniqueKey command = CreateKeyForWriting(key.Get(), L"command")) {
            SetStringValue(command.Get(), nullptr, verb.command);
        }
    }
}

}  // namespace cadrels
