#include "gfx/UiFont.h"

#include <wrl/client.h>

#include <vector>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

bool CollectionHas(IDWriteFontCollection& collection, std::wstring_view family)
{
    if (family.empty()) {
        return false;
    }
    const std::wstring name(family);
    UINT32 index = 0;
    BOOL exists = FALSE;
    return SUCCEEDED(collection.FindFamilyName(name.c_str(), &index, &exists)) && exists;
}

// The family's English name when it has one, else its first name.
std::wstring FamilyName(IDWriteFontCollection& collection, UINT32 index)
{
    ComPtr<IDWriteFontFamily> family;
    ComPtr<IDWriteLocalizedStrings> names;
    if (FAILED(collection.GetFontFamily(index, family.ReleaseAndGetAddressOf())) ||
        FAILED(family->GetFamilyNames(names.ReleaseAndGetAddressOf())) || names->GetCount() == 0) {
        return {};
    }
    UINT32 nameIndex = 0;
    BOOL exists = FALSE;
    if (FAILED(names->FindLocaleName(L"en-us", &nameIndex, &exists)) || !exists) {
        nameIndex = 0;
    }
    UINT32 length = 0;
    if (FAILED(names->GetStringLength(nameIndex, &length))) {
        return {};
    }
    std::vector<wchar_t> buffer(length + 1);
    if (FAILED(names->GetString(nameIndex, buffer.data(), length + 1))) {
        return {};
    }
    return std::wstring(buffer.data(), length);
}

}  // namespace

std::wstring ChooseUiFontFamily(const std::function<bool(std::wstring_view)>& collectionHas,
                                std::wstring_view messageFontFace, std::wstring_view firstFamily)
{
    if (collectionHas(PreferredUiFontFamily)) {
        return PreferredUiFontFamily;
    }
    if (!messageFontFace.empty() && collectionHas(messageFontFace)) {
        return std::wstring(messageFontFace);
    }
    if (!firstFamily.empty()) {
        return std::wstring(firstFamily);
    }
    return PreferredUiFontFamily;
}

std::wstring SystemMessageFontFace()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return {};
    }
    return metrics.lfMessageFont.lfFaceName;
}

std::wstring ResolveUiFontFamily(IDWriteFactory& factory)
{
    ComPtr<IDWriteFontCollection> collection;
    if (FAILED(factory.GetSystemFontCollection(collection.ReleaseAndGetAddressOf(), FALSE))) {
        return PreferredUiFontFamily;
    }
    std::wstring first;
    if (collection->GetFontFamilyCount() > 0) {
        first = FamilyName(*collection.Get(), 0);
    }
    return ChooseUiFontFamily([&](std::wstring_view name) { return CollectionHas(*collection.Get(), name); },
                              SystemMessageFontFace(), first);
}

}  // namespace cadrels
