#include "app/SendToList.h"

#include "model/PathText.h"

#include <windows.h>

namespace cadrels {

bool IsAcceptedSendToListPath(std::wstring_view fullPath, std::wstring_view tempFolder)
{
    const size_t slash = fullPath.find_last_of(L'\\');
    if (slash == std::wstring_view::npos || tempFolder.empty()) {
        return false;
    }
    const std::wstring_view folder = fullPath.substr(0, slash + 1);
    const std::wstring_view name = fullPath.substr(slash + 1);
    return EqualsIgnoringAsciiCase(folder, tempFolder) && name.size() > 2 && EqualsIgnoringAsciiCase(name.substr(0, 3), L"cdr");
}

std::vector<std::wstring> ParseSendToList(std::string_view bytes)
{
    std::wstring text;
    text.resize(bytes.size() / 2);
    for (size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    std::wstring_view rest = text;
    if (!rest.empty() && rest.front() == 0xFEFF) {
        rest.remove_prefix(1);
    }
    std::vector<std::wstring> paths;
    while (!rest.empty()) {
        const size_t end = rest.find(L"\r\n");
        const std::wstring_view line = rest.substr(0, end);
        if (!line.empty()) {
            paths.emplace_back(line);
        }
        if (end == std::wstring_view::npos) {
            break;
        }
        rest.remove_prefix(end + 2);
    }
    return paths;
}

}  // namespace cadrels
