// Whether a window that calls itself the running Cadrels may be trusted with
// what a second start forwards: any process of the desktop can register a
// "Cadrels.App" window, and a send-to path or a page request handed to it
// tells it what the user is working on. Only a process of the same user
// running the same program qualifies. Plain values, so the decision is
// tested without a second process.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cadrels {

struct ProcessIdentity {
    std::wstring userSid;    // the token user, as ConvertSidToStringSidW writes it
    std::wstring imagePath;  // as QueryFullProcessImageNameW gives it
};

enum class InstanceCheck {
    Trusted,
    Unreadable,  // the process could not be opened or asked
    OtherUser,
    OtherImage,
};

// Separators unified to "\", a "\\?\" or "\??\" prefix (and "UNC\" after
// it) turned back into the plain form, ASCII letters lower-cased: two
// spellings of one program's path give one text.
std::wstring NormalisedImagePath(std::wstring_view path);

// `other` is nothing when it could not be read. An empty SID or image on
// either side never matches.
InstanceCheck CheckRunningInstance(const ProcessIdentity& self, const std::optional<ProcessIdentity>& other);

// The log's words for a refusal.
const wchar_t* InstanceCheckText(InstanceCheck check);

}  // namespace cadrels
