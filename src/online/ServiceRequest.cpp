#include "online/ServiceRequest.h"

#include "base/DebugLog.h"
#include "online/OnlineHandles.h"
#include "online/ServiceUrl.h"

#include <climits>

namespace cadrels {
namespace {

constexpr wchar_t ServiceUserAgent[] = L"Cadrels-Service/1.0";
constexpr DWORD ReadChunkBytes = 65536;

std::wstring EnvironmentText(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return (length > 0 && length < 1024) ? std::wstring(value, length) : std::wstring();
}

}  // namespace

std::wstring ChooseServiceOrigin(std::wstring_view variable, std::wstring_view builtIn)
{
    if (!variable.empty()) {
        const std::optional<UrlParts> parts = SplitUrl(variable);
        if (parts && parts->secure && IsLoopbackHost(parts->host)) {
            return std::wstring(variable);
        }
    }
    return std::wstring(builtIn);
}

const ServiceEndpoint& DefaultServiceEndpoint()
{
    static const ServiceEndpoint endpoint = [] {
        ServiceEndpoint chosen;
        const std::wstring variable = EnvironmentText(ServiceOriginVariable);
        chosen.origin = ChooseServiceOrigin(variable, BuiltInServiceOrigin);
        if (!variable.empty()) {
            DebugLog(L"Service en ligne : %s", chosen.origin.c_str());
        }
        return chosen;
    }();
    return endpoint;
}

bool ServiceRequest(std::wstring_view method, std::wstring_view path, const std::string& body,
                    std::string& response, std::wstring_view extraHeaders)
{
    return ServiceRequestTo(DefaultServiceEndpoint(), method, path, body, response, extraHeaders);
}

bool ServiceRequestTo(const ServiceEndpoint& endpoint, std::wstring_view method, std::wstring_view path,
                      const std::string& body, std::string& response, std::wstring_view extraHeaders)
{
    response.clear();
    const std::optional<UrlParts> origin = SplitUrl(endpoint.origin);
    if (!origin || body.size() > ULONG_MAX) {
        return false;
    }
    const UniqueInternet session(WinHttpOpen(ServiceUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) {
        return false;
    }
    const HttpLimits& limits = endpoint.limits;
    WinHttpSetTimeouts(session.Get(), limits.resolveMs, limits.connectMs, limits.sendMs, limits.receiveMs);
    const UniqueInternet connection(WinHttpConnect(session.Get(), origin->host.c_str(), origin->port, 0));
    if (!connection) {
        return false;
    }
    const std::wstring methodText(method);
    const std::wstring pathText(path);
    const UniqueInternet request(WinHttpOpenRequest(connection.Get(), methodText.c_str(), pathText.c_str(),
                                                    nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                    origin->secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) {
        return false;
    }
    LimitResponseWait(request.Get(), limits.receiveMs);
    std::wstring headers;
    if (!body.empty()) {
        headers = L"Content-Type: application/json\r\n";
    }
    headers.append(extraHeaders);
    const DWORD bodyLength = static_cast<DWORD>(body.size());
    if (!WinHttpSendRequest(request.Get(), headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            headers.empty() ? 0 : static_cast<DWORD>(-1),
                            body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data()), bodyLength,
                            bodyLength, 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        return false;
    }
    // Each read is bounded by the receive time-out, and the size cap bounds
    // how many there can be.
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.Get(), &available) || available == 0) {
            break;
        }
        const DWORD wanted = available < ReadChunkBytes ? available : ReadChunkBytes;
        const size_t before = response.size();
        response.resize(before + wanted);
        DWORD read = 0;
        if (!WinHttpReadData(request.Get(), response.data() + before, wanted, &read) || read == 0) {
            response.resize(before);
            break;
        }
        response.resize(before + read);
        if (response.size() > MaxServiceResponseBytes) {
            DebugLog(L"Reponse du service trop longue (plus de %u octets) : ignoree.",
                     static_cast<unsigned>(MaxServiceResponseBytes));
            response.clear();
            return false;
        }
    }
    return !response.empty();
}

}  // namespace cadrels
