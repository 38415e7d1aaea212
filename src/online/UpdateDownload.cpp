#include "online/UpdateDownload.h"

#include "base/DebugLog.h"
#include "online/DownloadProgress.h"
#include "online/OnlineHandles.h"
#include "online/ServiceUrl.h"

namespace cadrels {
namespace {

constexpr wchar_t DownloadUserAgent[] = L"Cadrels-Updater/1.0";
constexpr DWORD ReadChunkBytes = 65536;

DWORD StatusCode(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
        return 0;
    }
    return status;
}

// Read as text: the numeric form of the query is 32 bits wide.
std::optional<std::uint64_t> ContentLength(HINTERNET request)
{
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, text, &size,
                             WINHTTP_NO_HEADER_INDEX)) {
        return std::nullopt;
    }
    return ParseContentLength(std::wstring_view(text, size / sizeof(wchar_t)));
}

}  // namespace

bool DownloadWithDigest(const std::wstring& url, const DownloadLimits& limits,
                        const std::function<void(int)>& progress, std::string& bytes, Sha256Digest& digest)
{
    bytes.clear();
    const std::optional<UrlParts> parts = SplitUrl(url);
    if (!parts || !parts->secure) {
        DebugLog(L"Telechargement refuse : adresse non HTTPS.");
        return false;
    }
    Sha256 hash;
    if (!hash.Open()) {
        return false;
    }
    const UniqueInternet session(WinHttpOpen(DownloadUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) {
        return false;
    }
    WinHttpSetTimeouts(session.Get(), limits.http.resolveMs, limits.http.connectMs, limits.http.sendMs,
                       limits.http.receiveMs);
    const UniqueInternet connection(WinHttpConnect(session.Get(), parts->host.c_str(), parts->port, 0));
    if (!connection) {
        return false;
    }
    const UniqueInternet request(WinHttpOpenRequest(connection.Get(), L"GET", parts->pathAndQuery.c_str(), nullptr,
                                                    WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                    WINHTTP_FLAG_SECURE));
    if (request) {
        LimitResponseWait(request.Get(), limits.http.receiveMs);
    }
    if (!request ||
        !WinHttpSendRequest(request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !WinHttpReceiveResponse(request.Get(), nullptr)) {
        DebugLog(L"Telechargement impossible (erreur %lu).", GetLastError());
        return false;
    }
    const DWORD status = StatusCode(request.Get());
    if (status != 200) {
        DebugLog(L"Telechargement refuse : statut HTTP %lu.", status);
        return false;
    }
    const std::optional<std::uint64_t> length = ContentLength(request.Get());
    if (length && *length > limits.maxBytes) {
        DebugLog(L"Telechargement refuse : fichier annonce trop grand.");
        return false;
    }
    progress(ProgressPercent(0, length));

    const ULONGLONG deadline = GetTickCount64() + limits.maxMilliseconds;
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request.Get(), &available)) {
            return false;
        }
        if (available == 0) {
            break;
        }
        const DWORD wanted = available < ReadChunkBytes ? available : ReadChunkBytes;
        const size_t before = bytes.size();
        if (before + wanted > limits.maxBytes || GetTickCount64() > deadline) {
            DebugLog(L"Telechargement interrompu : trop long ou trop lent.");
            return false;
        }
        bytes.resize(before + wanted);
        DWORD read = 0;
        if (!WinHttpReadData(request.Get(), bytes.data() + before, wanted, &read) || read == 0) {
            return false;
        }
        bytes.resize(before + read);
        if (!hash.Add(bytes.data() + before, read)) {
            return false;
        }
        progress(ProgressPercent(bytes.size(), length));
    }
    return !bytes.empty() && hash.Finish(digest);
}

}  // namespace cadrels
