#include "app/SendToBatch.h"

namespace cadrels {

bool SendToBatch::Add(const std::wstring& path, POINT cursor, DWORD now)
{
    const bool wasEmpty = paths_.empty();
    if (wasEmpty) {
        cursor_ = cursor;
        startTick_ = now;
    }
    if (!path.empty()) {
        paths_.push_back(path);
    }
    // Unsigned subtraction stays right across the 49-day tick wrap.
    if (!wasEmpty && now - startTick_ >= MaxGatherMs) {
        return false;
    }
    return true;
}

std::vector<std::wstring> SendToBatch::Take()
{
    std::vector<std::wstring> taken;
    taken.swap(paths_);
    return taken;
}

}  // namespace cadrels
