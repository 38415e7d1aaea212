// The one font family every text of the program is drawn in. DirectWrite
// accepts a text format for a family the machine lacks and then lays the text
// out with zero width, so the family is chosen among those that exist.
#pragma once

#include "base/UiFontFamily.h"

#include <dwrite.h>

#include <functional>
#include <string>
#include <string_view>

namespace cadrels {

// "Segoe UI" when the collection has it, else the system message font's face
// when the collection has that, else the collection's first family; "Segoe UI"
// when the collection is empty (nothing better can be named then).
std::wstring ChooseUiFontFamily(const std::function<bool(std::wstring_view)>& collectionHas,
                                std::wstring_view messageFontFace, std::wstring_view firstFamily);

// The face of the message font from SPI_GETNONCLIENTMETRICS, or "".
std::wstring SystemMessageFontFace();

// ChooseUiFontFamily over the system font collection of the factory.
std::wstring ResolveUiFontFamily(IDWriteFactory& factory);

}  // namespace cadrels
