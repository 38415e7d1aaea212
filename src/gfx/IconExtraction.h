// Icons and thumbnails for one (path, size), on an icon worker's thread: the
// shell's image factory first, then for pictures a WIC decode scaled to the
// size, then the shell's icon for the file. CPU pixels only.
#pragma once

#include "gfx/IconResult.h"

#include <windows.h>
#include <wincodec.h>

namespace cadrels {

// Fills `result` (its key already set); leaves it without pixels when every
// source failed. `wic` belongs to the calling thread.
void ExtractIconImage(IWICImagingFactory& wic, const IconRequest& request, IconResult& result);

// Copies an HBITMAP into `result` as premultiplied BGRA. A bitmap whose
// alpha bytes are all 0 has no alpha channel: it is converted again
// ignoring alpha, so it shows opaque instead of invisible.
bool ConvertBitmap(IWICImagingFactory& wic, HBITMAP bitmap, IconResult& result);

// Decodes a picture file scaled to fit a `size` square.
bool DecodePicture(IWICImagingFactory& wic, const wchar_t* path, int size, IconResult& result);

}  // namespace cadrels
