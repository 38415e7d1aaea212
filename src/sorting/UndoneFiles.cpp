#include "sorting/UndoneFiles.h"

#include "model/PathText.h"

namespace cadrels {
namespace {

std::wstring Key(std::wstring_view path)
{
    std::wstring key(path);
    for (wchar_t& c : key) {
        c = AsciiLower(c);
    }
    return key;
}

}  // namespace

void UndoneFiles::Remember(std::wstring_view path, std::uint64_t lastWrite)
{
    if (!path.empty()) {
        files_[Key(path)] = lastWrite;
    }
}

bool UndoneFiles::HoldsBack(std::wstring_view path, std::uint64_t lastWrite)
{
    const auto found = files_.find(Key(path));
    if (found == files_.end()) {
        return false;
    }
    if (found->second != lastWrite) {
        files_.erase(found);
        return false;
    }
    return true;
}

void UndoneFiles::Forget(std::wstring_view path)
{
    files_.erase(Key(path));
}

}  // namespace cadrels
