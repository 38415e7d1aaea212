#include "gfx/UiFont.h"

#include "gfx/GraphicsDevice.h"

#include <gtest/gtest.h>

#include <wrl/client.h>

#include <set>
#include <string>

using Microsoft::WRL::ComPtr;

namespace cadrels {
namespace {

TEST(UiFont, PrefersSegoeThenTheMessageFontThenTheFirstFamily)
{
    struct Case {
        std::set<std::wstring> families;
        std::wstring messageFace;
        std::wstring first;
        std::wstring expected;
    };
    const Case cases[] = {
        {{L"Segoe UI", L"Tahoma"}, L"Tahoma", L"Arial", L"Segoe UI"},
        {{L"Tahoma", L"DejaVu Sans"}, L"Tahoma", L"DejaVu Sans", L"Tahoma"},
        {{L"DejaVu Sans"}, L"Tahoma", L"DejaVu Sans", L"DejaVu Sans"},
        {{L"DejaVu Sans"}, {}, L"DejaVu Sans", L"DejaVu Sans"},
        {{L"Noto Sans", L"Tahoma"}, L"Segoe UI", L"Noto Sans", L"Noto Sans"},
        {{}, L"Tahoma", {}, L"Segoe UI"},
    };
    for (const Case& c : cases) {
        const auto has = [&](std::wstring_view name) { return c.families.count(std::wstring(name)) > 0; };
        EXPECT_EQ(ChooseUiFontFamily(has, c.messageFace, c.first), c.expected) << "message font " << c.messageFace.size();
    }
}

float LaidOutWidth(IDWriteFactory& factory, const std::wstring& family, const std::wstring& text)
{
    ComPtr<IDWriteTextFormat> format;
    ComPtr<IDWriteTextLayout> layout;
    DWRITE_TEXT_METRICS metrics{};
    if (FAILED(factory.CreateTextFormat(family.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
                                        DWRITE_FONT_STRETCH_NORMAL, 14.0f, L"en-us", format.GetAddressOf())) ||
        FAILED(factory.CreateTextLayout(text.c_str(), static_cast<UINT32>(text.size()), format.Get(), 1000.0f, 100.0f,
                                        layout.GetAddressOf())) ||
        FAILED(layout->GetMetrics(&metrics))) {
        return -1.0f;
    }
    return metrics.width;
}

TEST(UiFont, TheResolvedFamilyExistsAndLaysTextOut)
{
    GraphicsDevice device;
    device.Create();
    const std::wstring& family = device.UiFontFamily();
    ComPtr<IDWriteFontCollection> collection;
    ASSERT_HRESULT_SUCCEEDED(device.DWrite()->GetSystemFontCollection(collection.GetAddressOf(), FALSE));
    UINT32 index = 0;
    BOOL exists = FALSE;
    ASSERT_HRESULT_SUCCEEDED(collection->FindFamilyName(family.c_str(), &index, &exists));
    EXPECT_TRUE(exists) << "resolved family not installed";
    EXPECT_GT(LaidOutWidth(*device.DWrite(), family, L"Cadrels"), 20.0f);

    ComPtr<IDWriteTextFormat> format;
    ASSERT_HRESULT_SUCCEEDED(device.CreateTextFormat(14.0f, DWRITE_FONT_WEIGHT_BOLD, format.GetAddressOf()));
    std::wstring formatFamily(format->GetFontFamilyNameLength() + 1, L'\0');
    ASSERT_HRESULT_SUCCEEDED(format->GetFontFamilyName(formatFamily.data(), static_cast<UINT32>(formatFamily.size())));
    formatFamily.resize(formatFamily.size() - 1);
    EXPECT_EQ(formatFamily, family) << "text formats take the resolved family";
}

}  // namespace
}  // namespace cadrels
