// What the preview's reader makes of real files: the text of their first
// bytes, pictures decoded no larger than asked, and the details view for
// everything else, folders and vanished paths included.
#include "PreviewFiles.h"
#include "TestFiles.h"

#include "base/ComApartment.h"
#include "base/UniqueHandle.h"
#include "cadrel/QuickLookLoader.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

namespace cadrels::testing {
namespace {

class QuickLookLoader : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = MakeTempFolder(L"quicklook-loader");
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(wic_.GetAddressOf()))));
    }
    void TearDown() override { RemoveTree(folder_); }

    std::wstring Write(const wchar_t* name, std::string_view bytes) const
    {
        const std::wstring path = folder_ + L"\\" + name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }

    PreviewContent Load(const std::wstring& path, int maxSide = 1000) const
    {
        PreviewRequest request;
        request.session = 7;
        request.index = 3;
        request.path = path;
        request.maxSide = maxSide;
        request.iconSize = 96;
        return LoadPreviewContent(wic_.Get(), request);
    }

    ComApartment apartment_;
    Microsoft::WRL::ComPtr<IWICImagingFactory> wic_;
    std::wstring folder_;
};

TEST_F(QuickLookLoader, TextFilesReadFromTheirFirstBytes)
{
    EXPECT_EQ(ReadTextPreview(Write(L"utf16.txt", std::string("\xFF\xFE" "A\0\xE9\0", 6))), L"A\u00E9");
    EXPECT_EQ(ReadTextPreview(Write(L"bom.txt", "\xEF\xBB\xBF" "caf\xC3\xA9")), L"caf\u00E9");
    EXPECT_EQ(ReadTextPreview(Write(L"plain.txt", "caf\xC3\xA9")), L"caf\u00E9");
    EXPECT_EQ(ReadTextPreview(Write(L"zero.txt", std::string("ab\0cd", 5))), L"");
    EXPECT_EQ(ReadTextPreview(folder_ + L"\\absent.txt"), L"");

    // Only the first 8192 bytes are read, and the character they cut is
    // dropped instead of refusing the whole text.
    std::string long_(8191, 'a');
    long_ += "\xC3\xA9 and much more after the cut";
    const std::wstring cut = ReadTextPreview(Write(L"long.txt", long_));
    EXPECT_EQ(cut, std::wstring(8191, L'a'));

    // A file another program holds open for writing is still read.
    const std::wstring held = Write(L"held.log", "still writing");
    UniqueFile writer(CreateFileW(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer);
    EXPECT_EQ(ReadTextPreview(held), L"still writing");
}

TEST_F(QuickLookLoader, PicturesDecodedNoLargerThanTheWindow)
{
    const std::wstring photo = folder_ + L"\\photo.jpg";
    ASSERT_TRUE(WriteSolidJpeg(photo, 4000, 3000, RGB(200, 40, 40)));
    const PreviewContent large = Load(photo, 1000);
    ASSERT_EQ(large.mode, PreviewKind::Picture);
    EXPECT_EQ(large.image.width, 1000u);
    EXPECT_EQ(large.image.height, 750u);
    EXPECT_TRUE(large.image.HasImage());
    EXPECT_EQ(large.pictureWidth, 4000);
    EXPECT_EQ(large.pictureHeight, 3000);
    EXPECT_EQ(large.session, 7u);
    EXPECT_EQ(large.index, 3);
    // Premultiplied BGRA of the photo's colour, give or take the JPEG.
    const auto* pixel = &large.image.pixels[(375 * 1000 + 500) * 4];
    EXPECT_NEAR(pixel[0], 40, 12);
    EXPECT_NEAR(pixel[1], 40, 12);
    EXPECT_NEAR(pixel[2], 200, 12);
    EXPECT_EQ(pixel[3], 255);

    // The decoder's own reduction and the scaler meet the exact size also
    // when it is not a power of two below the picture.
    const PreviewContent odd = Load(photo, 777);
    EXPECT_EQ(odd.image.width, 777u);
    EXPECT_EQ(odd.image.height, 582u);

    PreviewPicture direct;
    ASSERT_TRUE(LoadPreviewImage(*wic_.Get(), photo, 0, direct));
    EXPECT_EQ(direct.pixels.width, 4000u) << "no limit, full size";
    EXPECT_EQ(direct.reduction, 1);

    // A small picture is never enlarged by the decode: the drawing does that.
    const PreviewContent small =
        Load(Write(L"small.bmp", Bitmap24(16, [](int) { return RGB(40, 60, 210); })), 1000);
    ASSERT_EQ(small.mode, PreviewKind::Picture);
    EXPECT_EQ(small.image.width, 16u);
    EXPECT_EQ(small.image.height, 16u);

    // A picture that does not decode falls back to the details.
    const PreviewContent broken = Load(Write(L"broken.png", "not a picture at all"));
    EXPECT_EQ(broken.mode, PreviewKind::Details);
    EXPECT_FALSE(broken.sizeText.empty());
}

TEST_F(QuickLookLoader, DetailsForFoldersOtherFilesAndVanishedPaths)
{
    const PreviewContent text = Load(Write(L"notes.md", "# Titre\n"));
    EXPECT_EQ(text.mode, PreviewKind::Text);
    EXPECT_EQ(text.text, L"# Titre\n");

    const PreviewContent binary = Load(Write(L"binary.txt", std::string("a\0b", 3)));
    EXPECT_EQ(binary.mode, PreviewKind::Details) << "a zero byte: not text";
    EXPECT_EQ(binary.name, L"binary.txt");
    EXPECT_FALSE(binary.type.empty());
    EXPECT_FALSE(binary.sizeText.empty());
    ASSERT_EQ(binary.dateText.size(), 17u) << binary.dateText;
    EXPECT_EQ(binary.dateText.substr(10, 2), L"  ") << "day/month/year, two spaces, hours:minutes";
    EXPECT_EQ(binary.dateText[2], L'/');
    EXPECT_EQ(binary.dateText[14], L':');

    const PreviewContent empty = Load(Write(L"empty.txt", ""));
    EXPECT_EQ(empty.mode, PreviewKind::Details) << "an empty text file has nothing to show";

    const std::wstring sub = folder_ + L"\\Sous-dossier";
    ASSERT_TRUE(CreateDirectoryW(sub.c_str(), nullptr));
    const PreviewContent folder = Load(sub);
    EXPECT_EQ(folder.mode, PreviewKind::Details);
    EXPECT_EQ(folder.name, L"Sous-dossier");
    EXPECT_FALSE(folder.type.empty());
    EXPECT_TRUE(folder.sizeText.empty());
    EXPECT_TRUE(folder.dateText.empty());
    EXPECT_TRUE(folder.image.HasImage()) << "the folder's icon";
    EXPECT_GT(folder.image.width, 1u);

    const PreviewContent gone = Load(folder_ + L"\\parti.jpg");
    EXPECT_EQ(gone.mode, PreviewKind::Details);
    EXPECT_EQ(gone.name, L"parti.jpg");
    EXPECT_FALSE(gone.type.empty()) << "the type of its extension";
    EXPECT_TRUE(gone.sizeText.empty());
    EXPECT_TRUE(gone.dateText.empty());
}

}  // namespace
}  // namespace cadrels::testing
