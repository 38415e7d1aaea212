#include "ProcessProbe.h"

#include "base/UniqueHandle.h"

#include <tlhelp32.h>

#include <cwchar>

namespace cadrels::testing {
namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[256] = {};
    if (owner == search->processId && (!search->visibleOnly || IsWindowVisible(window)) &&
        GetClassNameW(window, name, 256) > 0 && _wcsicmp(name, search->className) == 0) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD processId, const wchar_t* className, bool visibleOnly)
{
    WindowSearch search{processId, className, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SIZE_T PrivateBytes(DWORD processId)
{
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* address = nullptr;
         process && VirtualQueryEx(process.Get(), address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            total += region.RegionSize;
        }
    }
    return total;
}

void EndChildrenOf(DWORD parent)
{
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID == parent) {
            UniqueHandle child(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
            if (child) {
                TerminateProcess(child.Get(), 0);
            }
        }
    }
}

}  // namespace cadrels::testing
