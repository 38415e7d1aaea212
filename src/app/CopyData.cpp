#include "app/CopyData.h"

namespace cadrels {

std::wstring CopyDataPayload(const std::wstring& path)
{
    std::wstring payload = path;
    payload.push_back(L'\0');
    return payload;
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
