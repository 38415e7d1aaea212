// Process entry: prepare the process, run the single App, report what escapes.
#include "app/App.h"
#include "app/Environment.h"
#include "base/ProcessHeap.h"
#include "i18n/StringTable.h"
#include "i18n/TextEncoding.h"
#include "policy/Policy.h"

#include <windows.h>
#include <shobjidl.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    // DLLs come from System32 only, never from the current or the exe's folder.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");

    cadrels::UseLowFragmentationHeap();
    cadrels::ScrubEnvironment();
    SetCurrentProcessExplicitAppUserModelID(L"Tarvel.Cadrels");
    // Before anything reads a setting: the policy overrides them.
    cadrels::LoadPolicy();

    try {
        cadrels::App app;
        return app.Run(instance);
    } catch (const std::exception& error) {
        const std::wstring text = cadrels::Utf8ToWide(error.what());
        MessageBoxW(nullptr, text.c_str(), cadrels::Tr(cadrels::TextId::CadrelsError), MB_ICONERROR);
        return 1;
    }
}
