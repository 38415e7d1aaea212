// The built-in icons as the program's windows draw them: through Direct2D's
// SVG documents where the device context has ID2D1DeviceContext5, else
// through the program's own renderer. Both are drawn here on the program's
// own device into the same 48 by 48 target and compared on the bounds the
// reference test (VectorIconRenderTest) uses.
#include "IconTestSupport.h"

#include "base/ComObject.h"
#include "gfx/BuiltinIconTable.h"
#include "gfx/D2DDeclarations.h"
#include "gfx/GraphicsDevice.h"
#include "gfx/SvgEmblems.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace cadrels::testing {
namespace {

class SvgDocumentRender : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        wic_ = MakeWicFactory();
        ASSERT_TRUE(wic_);
        ASSERT_NO_THROW(device_.Create());
        ID2D1DeviceContext* context = device_.D2DContext();
        ASSERT_NE(context, nullptr);
        const D2D1_BITMAP_PROPERTIES1 target = D2D1::BitmapProperties1(
            D2D1_BITMAP_OPTIONS_TARGET | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        ASSERT_HRESULT_SUCCEEDED(context->CreateBitmap(D2D1::SizeU(IconSide, IconSide), nullptr, 0, target, &target_));
        const D2D1_BITMAP_PROPERTIES1 readable = D2D1::BitmapProperties1(
            D2D1_BITMAP_OPTIONS_CPU_READ | D2D1_BITMAP_OPTIONS_CANNOT_DRAW,
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        ASSERT_HRESULT_SUCCEEDED(context->CreateBitmap(D2D1::SizeU(IconSide, IconSide), nullptr, 0, readable, &readable_));
        // What WindowGraphics asks of the same context.
        svgQuery_ = context->QueryInterface(IID_ID2D1DeviceContext5,
                                            reinterpret_cast<void**>(svgContext_.ReleaseAndGetAddressOf()));
    }
    void TearDown() override
    {
        svgContext_.Reset();
        readable_.Reset();
        target_.Reset();
        wic_.Reset();
        CoUninitialize();
    }

    // Draws the emblem for `key` as a window would, with or without the SVG
    // context, and reads the pixels back.
    bool Draw(std::wstring_view key, IUnknown* svgContext, SvgEmblemCache& cache, Image& image,
              const SvgEmblem** loaded = nullptr)
    {
        ID2D1DeviceContext* context = device_.D2DContext();
        const SvgEmblem* emblem = LoadSvgEmblem(cache, device_, svgContext, key);
        if (loaded != nullptr) {
            *loaded = emblem;
        }
        if (emblem == nullptr) {
            return false;
        }
        context->SetTarget(target_.Get());
        context->BeginDraw();
        context->SetTransform(D2D1::Matrix3x2F::Identity());
        context->Clear(D2D1::ColorF(0, 0, 0, 0));
        DrawSvgEmblem(*context, svgContext, *emblem, D2D1::RectF(0, 0, IconSide, IconSide));
        const HRESULT drawn = context->EndDraw();
        context->SetTarget(nullptr);
        if (FAILED(drawn) || FAILED(readable_->CopyFromBitmap(nullptr, target_.Get(), nullptr))) {
            return false;
        }
        D2D1_MAPPED_RECT mapped{};
        if (FAILED(readable_->Map(D2D1_MAP_OPTIONS_READ, &mapped))) {
            return false;
        }
        image.width = IconSide;
        image.height = IconSide;
        image.pixels.resize(size_t{IconSide} * IconSide * 4);
        for (UINT y = 0; y < IconSide; ++y) {
            std::copy_n(mapped.bits + size_t{y} * mapped.pitch, IconSide * 4, image.pixels.begin() + size_t{y} * IconSide * 4);
        }
        readable_->Unmap();
        return true;
    }

    ComPtr<IWICImagingFactory> wic_;
    GraphicsDevice device_;
    ComPtr<ID2D1Bitmap1> target_;
    ComPtr<ID2D1Bitmap1> readable_;
    ComPtr<IUnknown> svgContext_;
    HRESULT svgQuery_ = E_FAIL;
};

// Where the system draws SVG documents, every built-in icon's document
// looks like the program's own drawing of it.
TEST_F(SvgDocumentRender, EveryBuiltinIconDrawnAsADocumentMatchesTheOwnRenderer)
{
    if (FAILED(svgQuery_)) {
        GTEST_SKIP() << "the device context has no ID2D1DeviceContext5 here (HRESULT 0x" << std::hex << svgQuery_
                     << "): the program draws its own";
    }
    // Whether documents can be made at all: the first icon's source straight
    // to CreateSvgDocument, so that the reason is reported, not guessed.
    const std::string firstSource = ReadSvgEmblemSource(BuiltinIconTable().front().key);
    ASSERT_FALSE(firstSource.empty());
    ComPtr<IStream> stream;
    AdoptComObject(stream, SHCreateMemStream(reinterpret_cast<const BYTE*>(firstSource.data()),
                                             static_cast<UINT>(firstSource.size())));
    ASSERT_TRUE(stream);
    ComPtr<ID2D1SvgDocument> probe;
    auto* svg = static_cast<ID2D1DeviceContext5Svg*>(static_cast<ID2D1DeviceContext*>(
        static_cast<void*>(svgContext_.Get())));
    const HRESULT created = svg->CreateSvgDocument(stream.Get(), D2D1::SizeF(100.0f, 100.0f), &probe);
    if (created == E_NOTIMPL) {
        GTEST_SKIP() << "ID2D1DeviceContext5 is there but CreateSvgDocument answers E_NOTIMPL: no SVG documents "
                        "here, the program draws its own (next test)";
    }
    ASSERT_HRESULT_SUCCEEDED(created) << "CreateSvgDocument of " << ::testing::PrintToString(std::wstring(
                                             BuiltinIconTable().front().key));

    SvgEmblemCache documents;
    SvgEmblemCache own;
    double worstMean = 0.0, worstBlock = 0.0;
    std::wstring worstKey;
    int compared = 0;
    for (const BuiltinIcon& row : BuiltinIconTable()) {
        Image asDocument, asOwn;
        const SvgEmblem* emblem = nullptr;
        ASSERT_TRUE(Draw(row.key, svgContext_.Get(), documents, asDocument, &emblem)) << row.resourceId;
        EXPECT_TRUE(emblem->document) << "resource " << row.resourceId << " was not made a document";
        ASSERT_TRUE(Draw(row.key, nullptr, own, asOwn)) << row.resourceId;
        const IconDifference d = CompareIcons(asDocument, asOwn);
        ++compared;
        if (d.meanPixel > worstMean) {
            worstMean = d.meanPixel;
            worstKey = row.key;
        }
        worstBlock = std::max(worstBlock, d.worstBlock);
        if (!IconsMatch(d)) {
            const std::wstring name = std::wstring(row.key).substr(4);
            SavePng(*wic_.Get(), OutputFolder() + L"\\svg-document-" + name + L".png", asDocument);
            SavePng(*wic_.Get(), OutputFolder() + L"\\svg-own-" + name + L".png", asOwn);
            ADD_FAILURE() << "resource " << row.resourceId << ": mean " << d.meanPixel << ", worst block "
                          << d.worstBlock;
        }
    }
    EXPECT_EQ(compared, 168);
    std::printf("SVG documents against the own renderer: %d icons, worst mean %.2f (%ls), worst block %.2f\n",
                compared, worstMean, worstKey.c_str(), worstBlock);
}

// Whatever the SVG interface can do, every built-in emblem is drawn, and
// drawn like the own renderer draws it: a context whose documents cannot
// be made must not leave tabs and dock items blank.
TEST_F(SvgDocumentRender, EveryBuiltinEmblemIsDrawnWhereverTheContextComesFrom)
{
    SvgEmblemCache windowCache;
    SvgEmblemCache own;
    IUnknown* const asWindowsAsk = SUCCEEDED(svgQuery_) ? svgContext_.Get() : nullptr;
    int documents = 0;
    for (const BuiltinIcon& row : BuiltinIconTable()) {
        Image asWindow, asOwn;
        const SvgEmblem* emblem = nullptr;
        ASSERT_TRUE(Draw(row.key, asWindowsAsk, windowCache, asWindow, &emblem)) << "resource " << row.resourceId;
        documents += emblem->document ? 1 : 0;
        ASSERT_TRUE(Draw(row.key, nullptr, own, asOwn)) << row.resourceId;
        const IconDifference d = CompareIcons(asWindow, asOwn);
        EXPECT_TRUE(IconsMatch(d))
            << "resource " << row.resourceId << ": mean " << d.meanPixel << ", worst block " << d.worstBlock;
        EXPECT_TRUE(std::any_of(asWindow.pixels.begin(), asWindow.pixels.end(), [](std::uint8_t v) { return v != 0; }))
            << "resource " << row.resourceId << " drew nothing";
    }
    std::printf("Emblems as the windows draw them: %d of %zu as SVG documents (ID2D1DeviceContext5: 0x%08X)\n",
                documents, BuiltinIconTable().size(), static_cast<unsigned>(svgQuery_));
}

}  // namespace
}  // namespace cadrels::testing
