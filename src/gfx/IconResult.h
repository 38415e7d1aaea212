// What an icon worker hands to the main thread: the key it answers and the
// pixels, rows top to bottom, 4 bytes per pixel in the order blue, green,
// red, alpha, alpha premultiplied, stride width * 4. Width or height 0 means
// no image; such a result still travels, so the key stops being pending.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cadrels {

struct IconResult {
    std::wstring key;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;

    bool HasImage() const { return width != 0 && height != 0 && pixels.size() == size_t{width} * height * 4; }
};

struct IconRequest {
    std::wstring key;
    std::wstring path;
    int size = 0;
};

}  // namespace cadrels
