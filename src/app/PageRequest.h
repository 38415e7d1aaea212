// A page or snapshot operation asked of the running program from outside the
// main thread or from another process (WM_COPYDATA): one line of text, the
// action, a tab, then its index and/or its text.
//
//   new<TAB>name         rename<TAB>index<TAB>name   delete<TAB>index
//   switch<TAB>index     snapshot<TAB>name           restore<TAB>path
//   restore-backup<TAB>path (asks first, with the backup's name and date)
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cadrels {

enum class PageAction { NewPage, RenamePage, DeletePage, SwitchPage, TakeSnapshot, RestoreSnapshot, RestoreBackup };

struct PageRequest {
    PageAction action = PageAction::SwitchPage;
    int index = -1;
    std::wstring text;

    friend bool operator==(const PageRequest&, const PageRequest&) = default;
};

// Nothing for an unknown action, a missing or non-decimal index, a missing
// text or stray fields; an index above 999999 is refused rather than wrapped.
std::optional<PageRequest> ParsePageRequest(std::wstring_view text);

std::wstring PageRequestText(const PageRequest& request);

// The administrator's "lockCadrels" freezes the arrangement: of the page
// operations only taking a snapshot, which changes nothing, stays allowed,
// whichever way the request comes (another process, a hotkey, a menu).
bool PageActionAllowed(PageAction action, bool cadrelsLocked);

}  // namespace cadrels
