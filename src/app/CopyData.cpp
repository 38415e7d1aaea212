#include "app/CopyData.h"

namespace cadrels {

std::wstring CopyDataPayload(const std::wstring& path)
{
    std::wstring payload = path;
    payload.push_back(L'\0');
    return payload;
}

Forwarding ForwardingFor(const CommandLineOptions& options)
{
    Forwarding forwarding;
    if (options.HasSendTo()) {
        const bool isList = !options.sendToList.empty();
        forwarding.message = WM_COPYDATA;
        forwarding.copyDataKind = isList ? CopyDataSendToList : CopyDataSendToPath;
        forwarding.payload = CopyDataPayload(isList ? options.sendToList : options.sendToPath);
    } else {
        forwarding.message = ForwardedWindowMessage(options);
    }
    return forwarding;
}

std::optional<ForwardedPath> ReadCopyData(const COPYDATASTRUCT* data)
{
    if (data == nullptr || data->lpData == nullptr) {
        return std::nullopt;
    }
    if (data->dwData != CopyDataSendToList && data->dwData != CopyDataSendToPath &&
        data->dwData != CopyDataPageRequest && data->dwData != CopyDataHostRequest) {
        return std::nullopt;
    }
    if (data->cbData < CopyDataMinBytes || data->cbData > CopyDataMaxBytes) {
        return std::nullopt;
    }
    std::wstring text(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
    if (!text.empty() && text.back() == L'\0') {
        text.pop_back();
    }
    return ForwardedPath{data->dwData, std::move(text)};
}

}  // namespace cadrels
