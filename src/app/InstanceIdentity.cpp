#include "app/InstanceIdentity.h"

#include "model/PathText.h"

namespace cadrels {

std::wstring NormalisedImagePath(std::wstring_view path)
{
    std::wstring text;
    text.reserve(path.size());
    for (wchar_t c : path) {
        text += IsPathSeparator(c) ? L'\\' : AsciiLower(c);
    }
    if (text.starts_with(L"\\\\?\\unc\\") || text.starts_with(L"\\??\\unc\\")) {
        text.replace(0, 8, L"\\\\");
    } else if (text.starts_with(L"\\\\?\\") || text.starts_with(L"\\??\\")) {
        text.erase(0, 4);
    }
    return text;
}

InstanceCheck CheckRunningInstance(const ProcessIdentity& self, const std::optional<ProcessIdentity>& other)
{
    if (!other || other->userSid.empty() || other->imagePath.empty() || self.userSid.empty() ||
        self.imagePath.empty()) {
        return InstanceCheck::Unreadable;
    }
    // SIDs in string form are upper-case by construction ("S-1-5-21-...").
    if (!EqualsIgnoringAsciiCase(self.userSid, other->userSid)) {
        return InstanceCheck::OtherUser;
    }
    if (NormalisedImagePath(self.imagePath) != NormalisedImagePath(other->imagePath)) {
        return InstanceCheck::OtherImage;
    }
    return InstanceCheck::Trusted;
}

const wchar_t* InstanceCheckText(InstanceCheck check)
{
    switch (check) {
    case InstanceCheck::Trusted:
        return L"meme utilisateur, meme programme";
    case InstanceCheck::Unreadable:
        return L"processus illisible";
    case InstanceCheck::OtherUser:
        return L"autre utilisateur";
    case InstanceCheck::OtherImage:
        return L"autre programme";
    }
    return L"?";
}

}  // namespace cadrels
