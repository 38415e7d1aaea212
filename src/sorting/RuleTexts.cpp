#include "sorting/RuleTexts.h"

#include "i18n/StringTable.h"

namespace cadrels {

const std::array<ExtensionPreset, 8>& ExtensionPresets()
{
    static const std::array<ExtensionPreset, 8> presets = {{
        {TextId::RuleLinkNone, L""},
        {TextId::Images, L"png jpg jpeg gif bmp webp tif tiff heic svg ico"},
        {TextId::Documents, L"pdf doc docx xls xlsx ppt pptx txt rtf odt ods csv md"},
        {TextId::Videos, L"mp4 mkv avi mov wmv webm flv m4v mpg mpeg"},
        {TextId::Audio, L"mp3 wav flac aac ogg m4a wma"},
        {TextId::Archives, L"zip rar 7z tar gz bz2 xz iso"},
        {TextId::Executables, L"exe msi bat cmd com"},
        {TextId::Custom, nullptr},
    }};
    return presets;
}

int PresetIndexForExts(std::wstring_view exts)
{
    if (exts.empty()) {
        return 0;
    }
    const std::array<ExtensionPreset, 8>& presets = ExtensionPresets();
    for (int i = 1; i < CustomExtensionPreset; ++i) {
        if (exts == presets[static_cast<size_t>(i)].exts) {
            return i;
        }
    }
    return CustomExtensionPreset;
}

std::wstring ConditionSummary(const RuleCondition& condition)
{
    switch (condition.k) {
    case RuleCondition::Extensions:
    case RuleCondition::NamePattern:
        return condition.t.empty() ? std::wstring(L"\u2026") : condition.t;
    case RuleCondition::SizeMiB:
        return (condition.op == 1 ? L"\u2264 " : L"\u2265 ") + std::to_wstring(condition.n) + L" Mo";
    case RuleCondition::MinAgeDays:
        return std::to_wstring(condition.n) + L" j";
    case RuleCondition::ShortcutKind:
        if (condition.n == 2) {
            return Tr(TextId::ConditionFolder);
        }
        return condition.n == 3 ? L"URL" : L".exe";
    default:
        return {};
    }
}

}  // namespace cadrels
