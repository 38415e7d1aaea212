// A harmless stand-in for the installer: it writes its command line to
// installer-ran.txt beside itself and exits.
#include "base/UniqueHandle.h"

#include <windows.h>

#include <string>

int wmain()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring marker = self;
    marker.resize(marker.find_last_of(L'\\') + 1);
    marker += L"installer-ran.txt";
    const std::wstring commandLine = GetCommandLineW();
    const cadrels::UniqueFile file(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    const auto bytes = static_cast<DWORD>(commandLine.size() * sizeof(wchar_t));
    return file && WriteFile(file.Get(), commandLine.data(), bytes, &written, nullptr) && written == bytes ? 0 : 1;
}
