// The in-place rename box: a native edit box in a small topmost popup over
// the cadrel, for a tab title or a file name. A cadrel never takes the
// activation, so the box takes the keyboard itself. It only signals: Enter
// and the loss of the keyboard post WM_CADREL_RENAME_COMMIT to its owner, Esc
// posts WM_CADREL_RENAME_CANCEL; the owner reads the text and closes it.
#pragma once

#include "base/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace cadrels {

// Posted by the in-place rename's edit box; carry nothing.
inline constexpr UINT WM_CADREL_RENAME_COMMIT = WM_USER + 1;
inline constexpr UINT WM_CADREL_RENAME_CANCEL = WM_USER + 2;

// What the open box renames: the title of tab `tab`, or the file `path`
// listed as item `item`.
struct RenameSubject {
    int item = -1;
    int tab = -1;
    std::wstring path;

    bool IsTab() const { return item < 0; }
};

class InPlaceRename {
public:
    // The longest name the box accepts.
    static constexpr int MaxLength = 255;

    InPlaceRename() = default;
    ~InPlaceRename() { Close(); }
    InPlaceRename(const InPlaceRename&) = delete;
    InPlaceRename& operator=(const InPlaceRename&) = delete;

    // Opens the box over `screenRect` showing `text` with [selStart, selEnd)
    // selected (-1 for the end), its font sized for `dpi`; a tab's title is
    // centred. Fails when one is open already, `owner` is no window or the
    // rectangle is empty.
    bool Open(HWND owner, const RECT& screenRect, const std::wstring& text, int selStart, int selEnd, unsigned dpi,
              RenameSubject subject);
    // Closes the box (nothing when none is open) and says what it renamed.
    RenameSubject Close();

    bool IsOpen() const { return edit_ != nullptr; }
    HWND Edit() const { return edit_; }
    const RenameSubject& Subject() const { return subject_; }
    // What the box shows now, as typed.
    std::wstring Text() const;

private:
    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

    HWND owner_ = nullptr;
    RenameSubject subject_;
    UniqueWindow host_;
    HWND edit_ = nullptr;  // child of host_, destroyed with it
    UniqueFont font_;
    WNDPROC editPrevious_ = nullptr;
};

}  // namespace cadrels
