// Paths sent one process at a time (the shell starts one per selected file)
// are gathered into one batch: handed over 400 ms after the last path, or at
// the latest about 1.6 s after the first.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cadrels {

class SendToBatch {
public:
    static constexpr DWORD QuietMs = 400;
    static constexpr DWORD MaxGatherMs = 1200;

    // Adds a path (an empty one only starts the batch); returns whether the
    // hand-over timer must be (re)started at QuietMs. Past MaxGatherMs the
    // running countdown is kept, so a steady stream cannot postpone it forever.
    bool Add(const std::wstring& path, POINT cursor, DWORD now);

    // Empties the batch and returns its paths.
    std::vector<std::wstring> Take();

    POINT Cursor() const { return cursor_; }
    bool Empty() const { return paths_.empty(); }
    size_t Size() const { return paths_.size(); }

private:
    std::vector<std::wstring> paths_;
    POINT cursor_{};
    DWORD startTick_ = 0;
};

}  // namespace cadrels
