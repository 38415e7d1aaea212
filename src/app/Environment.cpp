#include "app/Environment.h"

#include <windows.h>

#include <cwchar>

namespace cadrels {

std::vector<std::wstring> InheritedVariablesToRemove(const wchar_t* environmentBlock)
{
    std::vector<std::wstring> names;
    if (environmentBlock == nullptr) {
        return names;
    }
    for (const wchar_t* entry = environmentBlock; *entry != L'\0'; entry += std::wcslen(entry) + 1) {
        const wchar_t* equals = std::wcschr(entry, L'=');
        if (equals == nullptr || equals == entry) {
            continue;
        }
        const std::wstring name(entry, equals);
        if (name.rfind(L"VSCODE_", 0) == 0 || name.rfind(L"CHROME_CRASHPAD", 0) == 0) {
            names.push_back(name);
        }
    }
    return names;
}

void ScrubEnvironment()
{
    for (const wchar_t* name : {L"ELECTRON_RUN_AS_NODE", L"ELECTRON_NO_ATTACH_CONSOLE", L"ELECTRON_NO_ASAR",
                                L"NODE_OPTIONS"}) {
        SetEnvironmentVariableW(name, nullptr);
    }
    // Collect first, delete after: changing the environment invalidates the block.
    wchar_t* block = GetEnvironmentStringsW();
    const std::vector<std::wstring> names = InheritedVariablesToRemove(block);
    if (block != nullptr) {
        FreeEnvironmentStringsW(block);
    }
    for (const std::wstring& name : names) {
        SetEnvironmentVariableW(name.c_str(), nullptr);
    }
}

}  // namespace cadrels
