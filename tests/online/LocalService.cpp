#include "LocalService.h"

#include "TestFiles.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace cadrels::testing {
namespace {

std::wstring HostPathToWindows(std::wstring path)
{
    if (!path.empty() && path.front() == L'/') {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        path = L"Z:" + path;
    }
    return path;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

bool LocalService::Open()
{
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD length = GetEnvironmentVariableW(L"CADRELS_ONLINE_SERVICE_DIR", value, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2) {
        return false;
    }
    directory_ = HostPathToWindows(value);
    std::string port = ReadBytes(directory_ + L"\\port");
    const std::string key = ReadBytes(directory_ + L"\\test-key.pub");
    if (port.empty() || key.size() != 128) {
        return false;
    }
    port_.assign(port.begin(), port.end());
    for (size_t i = 0; i < 64; ++i) {
        const int high = HexValue(key[2 * i]);
        const int low = HexValue(key[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        testKey_.xy[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return true;
}

std::wstring LocalService::Origin() const
{
    return L"https://localhost:" + port_;
}

std::wstring LocalService::Url(std::wstring_view path) const
{
    return Origin() + std::wstring(path);
}

std::wstring LocalService::FilePath(std::wstring_view path) const
{
    std::wstring file = directory_ + L"\\www" + std::wstring(path);
    std::replace(file.begin(), file.end(), L'/', L'\\');
    return file;
}

bool LocalService::Publish(std::wstring_view path, std::string_view bytes, std::string_view meta) const
{
    const std::wstring file = FilePath(path);
    // Folders first: the prefix is new for every test.
    for (size_t slash = file.find(L'\\', directory_.size() + 1); slash != std::wstring::npos;
         slash = file.find(L'\\', slash + 1)) {
        CreateDirectoryW(file.substr(0, slash).c_str(), nullptr);
    }
    if (!meta.empty() && !WriteBytes(file + L".meta", meta)) {
        return false;
    }
    return bytes.empty() ? true : WriteBytes(file, bytes);
}

bool LocalService::PublishSigned(std::wstring_view path, std::string_view manifest) const
{
    const std::wstring name(path.substr(path.find_last_of(L'/') + 1));
    const std::string meta = "{\"signOf\": \"" + std::string(name.begin(), name.end()) + "\"}";
    return Publish(path, manifest) && Publish(std::wstring(path) + L".sig", {}, meta);
}

bool LocalService::Unpublish(std::wstring_view path) const
{
    const std::wstring file = FilePath(path);
    const bool meta = DeleteFileW((file + L".meta").c_str()) != FALSE;
    const bool bytes = DeleteFileW(file.c_str()) != FALSE;
    return meta || bytes;
}

std::string LocalService::Received(std::wstring_view path) const
{
    return ReadBytes(FilePath(path) + L".received");
}

void LocalService::ForgetReceived(std::wstring_view path) const
{
    DeleteFileW((FilePath(path) + L".received").c_str());
}

std::wstring UniquePrefix()
{
    static std::atomic<int> counter{0};
    return L"/t" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

}  // namespace cadrels::testing
