#include "cadrel/QuickLookRules.h"

#include <algorithm>
#include <array>

namespace cadrels {
namespace {

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i];
        wchar_t y = b[i];
        if (x >= L'A' && x <= L'Z') {
            x = static_cast<wchar_t>(x - L'A' + L'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

constexpr std::array<std::wstring_view, 11> PictureExtensions = {
    L"jpg", L"jpeg", L"png", L"gif", L"bmp", L"tif", L"tiff", L"ico", L"webp", L"jfif", L"dib"};

constexpr std::array<std::wstring_view, 43> TextExtensions = {
    L"txt", L"md",   L"markdown", L"log", L"csv",  L"tsv", L"json", L"xml", L"yml", L"yaml", L"ini",
    L"cfg", L"conf", L"toml",     L"cpp", L"cc",   L"cxx", L"h",    L"hpp", L"c",   L"cs",   L"js",
    L"ts",  L"jsx",  L"tsx",      L"py",  L"java", L"rb",  L"go",   L"rs",  L"php", L"html", L"htm",
    L"css", L"scss", L"sh",       L"bat", L"ps1",  L"sql", L"lua",  L"r",   L"pl",  L"vb"};

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that cannot
// start one.
int Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Bytes to drop at the end so the text does not end inside a sequence. Only
// a tail that could still become a valid sequence is dropped; anything else
// is left for the strict decoder to refuse.
std::size_t IncompleteUtf8Tail(std::string_view bytes)
{
    const std::size_t size = bytes.size();
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) {
            continue;
        }
        const int length = Utf8SequenceLength(byte);
        return length > static_cast<int>(back) ? back : 0;
    }
    return 0;
}

bool DecodeUtf8Strict(std::string_view bytes, std::wstring& out)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = Utf8SequenceLength(lead);
        if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size()) {
            return false;
        }
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        static constexpr char32_t Smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < Smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<wchar_t>(code));
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

float Scale(unsigned dpi)
{
    return static_cast<float>(dpi == 0 ? 96u : dpi) / 96.0f;
}

} // namespace

PreviewKind PreviewKindForExtension(std::wstring_view extension)
{
    if (!extension.empty() && extension.front() == L'.') {
        extension.remove_prefix(1);
    }
    for (std::wstring_view known : PictureExtensions) {
        if (EqualsAsciiNoCase(extension, known)) {
            return PreviewKind::Picture;
        }
    }
    for (std::wstring_view known : TextExtensions) {
        if (EqualsAsciiNoCase(extension, known)) {
            return PreviewKind::Text;
        }
    }
    return PreviewKind::Details;
}

std::wstring DecodeTextPreview(std::string_view bytes)
{
    bytes = bytes.substr(0, std::min(bytes.size(), TextPreviewBytes));
    std::wstring text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        bytes.remove_prefix(2);
        const std::size_t units = bytes.size() / 2;
        text.reserve(units);
        for (std::size_t i = 0; i < units; ++i) {
            const auto low = static_cast<unsigned char>(bytes[2 * i]);
            const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
            text.push_back(static_cast<wchar_t>(low | (high << 8)));
        }
        if (!text.empty() && text.back() >= 0xD800 && text.back() <= 0xDBFF) {
            text.pop_back();
        }
        return text;
    }
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    if (bytes.find('\0') != std::string_view::npos) {
        return {};
    }
    bytes.remove_suffix(IncompleteUtf8Tail(bytes));
    if (!DecodeUtf8Strict(bytes, text)) {
        return {};
    }
    return text;
}

PreviewWindowPlacement PlacePreviewWindow(int workLeft, int workTop, int workRight, int workBottom, unsigned dpi)
{
    const float s = Scale(dpi);
    const int workWidth = workRight - workLeft;
    const int workHeight = workBottom - workTop;
    PreviewWindowPlacement placement;
    placement.width = static_cast<int>(std::max(480.0f * s, 0.72f * static_cast<float>(workWidth)));
    placement.height = static_cast<int>(std::max(360.0f * s, 0.80f * static_cast<float>(workHeight)));
    placement.x = workLeft + (workWidth - placement.width) / 2;
    placement.y = workTop + (workHeight - placement.height) / 2;
    return placement;
}

PreviewLayout LayOutPreview(float width, float height, unsigned dpi)
{
    const float s = Scale(dpi);
    const float m = 18.0f * s;
    PreviewLayout layout;
    layout.header = {m, 0.4f * m, width - m, 0.4f * m + 34.0f * s};
    layout.content = {m, 0.4f * m + 34.0f * s, width - m, height - 26.0f * s - 0.4f * m};
    layout.hint = {m, height - 26.0f * s, width - m, height - 0.3f * m};
    return layout;
}

PreviewRect FitPictureInBox(const PreviewRect& box, int pictureWidth, int pictureHeight)
{
    const float boxWidth = box.right - box.left;
    const float boxHeight = box.bottom - box.top;
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        return {box.left, box.top, box.left, box.top};
    }
    const float scale = std::min(boxHeight / static_cast<float>(pictureHeight),
                                 boxWidth / static_cast<float>(pictureWidth));
    const float drawnWidth = scale * static_cast<float>(pictureWidth);
    const float drawnHeight = scale * static_cast<float>(pictureHeight);
    const float left = box.left + (boxWidth - drawnWidth) / 2.0f;
    const float top = box.top + (boxHeight - drawnHeight) / 2.0f;
    return {left, top, left + drawnWidth, top + drawnHeight};
}

DecodeSize PreviewDecodeSize(int width, int height, int maxSide)
{
    if (maxSide <= 0 || width <= 0 || height <= 0 || (width <= maxSide && height <= maxSide)) {
        return {width, height};
    }
    // In integers: the limiting side becomes exactly maxSide, where a
    // floating-point factor could land one pixel short.
    const long long side = maxSide;
    if (width >= height) {
        return {maxSide, static_cast<int>(std::max(1LL, height * side / width))};
    }
    return {static_cast<int>(std::max(1LL, width * side / height)), maxSide};
}

int DecoderReductionFor(int width, int height, const DecodeSize& target)
{
    for (int reduction : {8, 4, 2}) {
        // A decoder reducing by n rounds the sides up.
        const int reducedWidth = (width + reduction - 1) / reduction;
        const int reducedHeight = (height + reduction - 1) / reduction;
        if (reducedWidth >= target.width && reducedHeight >= target.height) {
            return reduction;
        }
    }
    return 1;
}

int SteppedIndex(int current, int delta, int count)
{
    if (count <= 0) {
        return -1;
    }
    const long long wanted = static_cast<long long>(current) + delta;
    return static_cast<int>(std::clamp<long long>(wanted, 0, count - 1));
}

} // namespace cadrels
