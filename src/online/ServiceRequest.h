// The small HTTPS client for the JSON requests to the program's online
// service, and the one place that names the service and the running version.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace cadrels {

// The service every request goes to, unless a developer points the program at
// a service on this machine (CADRELS_SERVICE_ORIGIN, loopback hosts only, so
// the variable can never send anything elsewhere).
inline constexpr wchar_t BuiltInServiceOrigin[] = L"https://service.cadrels.app";
inline constexpr wchar_t ServiceOriginVariable[] = L"CADRELS_SERVICE_ORIGIN";

// The running version, from the project's version in CMakeLists.txt. Only
// RunningVersion.cpp sees that number, so that a build marked with another
// version recompiles one file.
const char* RunningVersionText();

inline constexpr size_t MaxServiceResponseBytes = 8u * 1024u * 1024u;

struct HttpLimits {
    int resolveMs;
    int connectMs;
    int sendMs;
    int receiveMs;
};

inline constexpr HttpLimits ServiceRequestLimits{8000, 8000, 8000, 12000};

struct ServiceEndpoint {
    std::wstring origin;
    HttpLimits limits = ServiceRequestLimits;
};

// The built-in origin, or the loopback override; read once per process.
const ServiceEndpoint& DefaultServiceEndpoint();

// The origin CADRELS_SERVICE_ORIGIN names when it is an https address of a
// loopback host; otherwise `builtIn`.
std::wstring ChooseServiceOrigin(std::wstring_view variable, std::wstring_view builtIn);

// Synchronous request to the default endpoint: true when a non-empty body was
// received. The status code is not examined; callers judge the body. A body
// over 8 MiB is refused (false) rather than handed on cut short.
bool ServiceRequest(std::wstring_view method, std::wstring_view path, const std::string& body,
                    std::string& response, std::wstring_view extraHeaders = {});

bool ServiceRequestTo(const ServiceEndpoint& endpoint, std::wstring_view method, std::wstring_view path,
                      const std::string& body, std::string& response, std::wstring_view extraHeaders = {});

}  // namespace cadrels
