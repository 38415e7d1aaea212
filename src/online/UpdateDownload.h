// The installer download: HTTPS only, status 200 only, hashed while it
// arrives, kept in memory and written to disk in one atomic step.
#pragma once

#include "online/ServiceRequest.h"
#include "base/Sha256.h"

#include <cstdint>
#include <functional>
#include <string>

namespace cadrels {

inline constexpr HttpLimits DownloadRequestLimits{10000, 10000, 20000, 60000};

struct DownloadLimits {
    HttpLimits http = DownloadRequestLimits;
    // Installers are a few megabytes; the caps bound the loop for a server
    // that never stops sending or sends one byte a minute.
    std::uint64_t maxBytes = 512ull * 1024 * 1024;
    std::uint32_t maxMilliseconds = 30u * 60u * 1000u;
};

// Fetches `url` into `bytes` and its SHA-256 into `digest`. `progress` gets
// the percent (or -1 without a usable length) after every chunk. False on any
// failure, including a status other than 200 and an empty body.
bool DownloadWithDigest(const std::wstring& url, const DownloadLimits& limits,
                        const std::function<void(int)>& progress, std::string& bytes, Sha256Digest& digest);

}  // namespace cadrels
