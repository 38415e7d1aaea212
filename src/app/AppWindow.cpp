// The application window procedure: a table from message to handler.
#include "app/App.h"

#include "app/AppMessages.h"
#include "app/CopyData.h"
#include "app/SendToList.h"

#include <memory>

namespace cadrels {

LRESULT App::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA:
        if (const LRESULT accepted = OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
            return accepted;
        }
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
    case WM_APP_SAVE_SOON:
        if (!savePending_) {
            savePending_ = true;
            PostMessageW(window, WM_APP_SAVE_NOW, 0, 0);
        }
        return 0;
    case WM_APP_SAVE_NOW:
        Save();
        return 0;
    case WM_APP_SEND_TO_LIST:
        OnSendToList(reinterpret_cast<std::wstring*>(lParam));
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT App::OnCopyData(const COPYDATASTRUCT* data)
{
    const std::optional<ForwardedPath> forwarded = ReadCopyData(data);
    if (!forwarded) {
        return FALSE;
    }
    if (forwarded->kind == CopyDataSendToList) {
        PostMessageW(window_, WM_APP_SEND_TO_LIST, 0, reinterpret_cast<LPARAM>(new std::wstring(forwarded->path)));
    } else {
        QueueSendToPath(forwarded->path);
    }
    return TRUE;
}

void App::OnTimer(UINT_PTR id)
{
    switch (id) {
    case TimerSendToBatch:
        OnSendToBatchTimer();
        break;
    default:
        break;
    }
}

void App::OnSendToList(std::wstring* listPathPointer)
{
    const std::unique_ptr<std::wstring> listPath(listPathPointer);
    if (!listPath || listPath->empty()) {
        return;
    }
    wchar_t fullPath[MAX_PATH];
    const DWORD fullLength = GetFullPathNameW(listPath->c_str(), MAX_PATH, fullPath, nullptr);
    wchar_t tempFolder[MAX_PATH + 1];
    const DWORD tempLength = GetTempPathW(MAX_PATH + 1, tempFolder);
    if (fullLength == 0 || fullLength >= MAX_PATH || tempLength == 0 || tempLength > 258 ||
        !IsAcceptedSendToListPath(fullPath, tempFolder)) {
        return;
    }

    std::string bytes;
    {
        UniqueFile file(CreateFileW(fullPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (file && GetFileSizeEx(file.Get(), &size) && size.QuadPart > 1 &&
            size.QuadPart <= static_cast<LONGLONG>(SendToListMaxBytes)) {
            bytes.resize(static_cast<size_t>(size.QuadPart));
            DWORD read = 0;
            if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                read != bytes.size()) {
                bytes.clear();
            }
        }
    }
    // The sender hands the file over: it is ours to delete, readable or not.
    DeleteFileW(fullPath);

    POINT cursor{};
    GetCursorPos(&cursor);
    HandleSentPaths(ParseSendToList(bytes), cursor);
}

}  // namespace cadrels
