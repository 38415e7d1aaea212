// The parts of the quick-look preview that need no window: which view a file
// gets, how the first bytes of a text file become text, the window's size and
// layout, the size a picture is decoded at, and how stepping moves.
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

enum class PreviewKind { Picture, Text, Details };

// By extension (ASCII case ignored, with or without the leading dot).
PreviewKind PreviewKindForExtension(std::wstring_view extension);

// At most this many bytes of a text file are read and shown.
inline constexpr std::size_t TextPreviewBytes = 8192;

// The text (UTF-16 units, on every platform) of a file's first bytes: UTF-16 after FF FE, otherwise UTF-8 with
// an optional byte-order mark. A zero byte in UTF-8 means the file is not
// text, and malformed UTF-8 is refused: both give an empty result. A
// character cut at the end of the read (an incomplete UTF-8 sequence, an odd
// UTF-16 byte, a lone high surrogate) is dropped, not a reason to refuse.
std::wstring DecodeTextPreview(std::string_view bytes);

struct PreviewRect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

struct PreviewWindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};

// max(480s, 72 % of the work area's width) by max(360s, 80 % of its height),
// truncated, centred in the work area.
PreviewWindowPlacement PlacePreviewWindow(int workLeft, int workTop, int workRight, int workBottom, unsigned dpi);

struct PreviewLayout {
    PreviewRect header;
    PreviewRect content;
    PreviewRect hint;
};

// Margins are 18s, the header 34s high, the hint line 26s.
PreviewLayout LayOutPreview(float width, float height, unsigned dpi);

// The picture scaled to fill the box without cropping (small ones are
// enlarged), centred; an empty rectangle for an empty picture.
PreviewRect FitPictureInBox(const PreviewRect& box, int pictureWidth, int pictureHeight);

struct DecodeSize {
    int width = 0, height = 0;
};

// The size a picture is decoded at for a window whose larger side is
// maxSide: unchanged when it fits (or maxSide <= 0), else scaled by
// min(maxSide / W, maxSide / H), each side at least 1.
DecodeSize PreviewDecodeSize(int width, int height, int maxSide);

// The largest decoder reduction (1, 2, 4 or 8) whose result still covers
// the target size, so the scaler after it only ever shrinks.
int DecoderReductionFor(int width, int height, const DecodeSize& target);

// current + delta clamped to 0..count-1; no wrap-around. -1 for an empty list.
int SteppedIndex(int current, int delta, int count);

} // namespace cadrels
