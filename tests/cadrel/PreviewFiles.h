// Picture files for the quick-look tests, written with the system's encoders.
#pragma once

#include <windows.h>

#include <string>

namespace cadrels::testing {

// A JPEG of one colour.
bool WriteSolidJpeg(const std::wstring& path, UINT width, UINT height, COLORREF colour);

}  // namespace cadrels::testing
