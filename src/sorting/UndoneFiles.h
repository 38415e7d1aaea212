// Files that an undo has just put back where the filing pass found them. The
// pass would otherwise file them again as soon as the short postponement
// after the undo ends, and the undo would seem to do nothing. A file is held
// back for as long as it keeps the last-write time it had when it came back:
// once the user changes it, or another file takes its name, it is filed again.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace cadrels {

class UndoneFiles {
public:
    void Remember(std::wstring_view path, std::uint64_t lastWrite);
    // True while the file at `path` is the one an undo brought back; a
    // remembered path that now holds another write time is forgotten.
    bool HoldsBack(std::wstring_view path, std::uint64_t lastWrite);
    void Forget(std::wstring_view path);
    size_t Size() const { return files_.size(); }

private:
    // Keyed by the path in ASCII lower case, the way the program compares
    // its own paths.
    std::map<std::wstring, std::uint64_t> files_;
};

}  // namespace cadrels
