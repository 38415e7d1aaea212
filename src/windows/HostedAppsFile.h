// The executables this user hosted on this machine, kept in a file of the
// application-data folder that no snapshot or backup carries. A layout can
// come from anywhere (a restored snapshot, a backup, another machine); only a
// program listed here, with the same application id, is started again
// without the user's click.
#pragma once

#include "windows/HostingRules.h"

#include <string>

namespace cadrels {

class HostedAppsStore {
public:
    // Reads the file at `path`; a missing or unreadable file is an empty list.
    explicit HostedAppsStore(std::wstring path);

    bool Knows(const std::wstring& exePath, const std::wstring& appId) const { return list_.Contains(exePath, appId); }
    // Adds and writes the file when the pair is new.
    void Remember(const std::wstring& exePath, const std::wstring& appId);

    // AppDataFolder() + "\hosted-apps.txt", or empty without that folder.
    static std::wstring DefaultPath();

private:
    std::wstring path_;
    HostedExecutables list_;
};

}  // namespace cadrels
