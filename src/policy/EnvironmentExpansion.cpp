#include "policy/EnvironmentExpansion.h"

#include "model/PathText.h"

namespace cadrels {

std::wstring ExpandReferences(std::wstring_view text, const EnvironmentVariables& variables)
{
    std::wstring out;
    size_t at = 0;
    while (at < text.size()) {
        const size_t open = text.find(L'%', at);
        if (open == std::wstring_view::npos) {
            break;
        }
        const size_t close = text.find(L'%', open + 1);
        if (close == std::wstring_view::npos) {
            break;
        }
        out.append(text.substr(at, open - at));
        const std::wstring_view name = text.substr(open + 1, close - open - 1);
        const std::wstring* value = nullptr;
        for (const auto& [variable, content] : variables) {
            if (!name.empty() && EqualsIgnoringAsciiCase(variable, name)) {
                value = &content;
                break;
            }
        }
        if (value != nullptr) {
            out.append(*value);
            at = close + 1;
        } else {
            // The closing "%" may open the next reference, as in "100%%TEMP%".
            out.append(text.substr(open, close - open));
            at = close;
        }
    }
    out.append(text.substr(at));
    return out;
}

}  // namespace cadrels
