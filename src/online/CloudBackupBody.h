// The cloud backup request's text and the reading of its answer, and the
// small account file that says whose space the backups go to. Plain values,
// no Windows.
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

// A value of the request: a double quote and a backslash get a backslash, a
// line feed and a carriage return become \n and \r, every other byte below
// 0x20 is dropped, everything else is copied.
std::string EscapeCloudValue(std::string_view utf8);

// {"code":…,"machineId":…,"name":…,"created":…,"data":…}, each value escaped
// and quoted; `data` is the settings document's UTF-8 text.
std::string CloudBackupBody(std::wstring_view code, std::wstring_view machineId, std::wstring_view name,
                            std::wstring_view created, std::string_view data);

// The service took the backup: the answer is a JSON object whose `ok` is true.
bool CloudBackupAccepted(std::string_view response);

// The online account the cloud backups belong to. Both values are empty until
// an account exists; with either empty nothing is sent.
struct OnlineAccount {
    std::wstring code;
    std::wstring machineId;

    bool Complete() const { return !code.empty() && !machineId.empty(); }
};

// The account file's text: {"code": "...", "machineId": "..."}; members
// missing or of another type read as empty.
OnlineAccount ReadOnlineAccount(std::string_view bytes);
std::string OnlineAccountText(const OnlineAccount& account);

}  // namespace cadrels
