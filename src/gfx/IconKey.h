// Icon keys: what the icon cache and the emblem loader are asked for. A key
// is empty (the item's own icon), "svg:" and a built-in icon's name, or an
// image file path; the cache adds "@" and the size in pixels to a path.
// Plain text functions, free of Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace cadrels {

// The size an icon is asked for when `side` pixels are drawn: the next of a
// few steps (larger sizes in steps of 64), so that each zoom notch does not
// send every icon through the shell again at a new exact size. The bitmap is
// scaled down to the side it is drawn at.
int IconRequestSize(int side);

// "path@size", the size in decimal with a leading "-" when negative.
std::wstring MakeIconKey(std::wstring_view path, int size);

// The path part of a cache key: the text before the last "@". A path may
// itself hold "@" ("photo@2x.png", a folder "me@work"); the size never does.
// A key without "@" is all path.
std::wstring_view IconKeyPath(std::wstring_view key);

// True for "svg:" keys (compared case-sensitively, as the built-in table is).
bool IsBuiltinIconKey(std::wstring_view key);

// True when the key has at least 4 characters and ends with ".svg" in any case.
bool IsSvgFileKey(std::wstring_view key);

}  // namespace cadrels
