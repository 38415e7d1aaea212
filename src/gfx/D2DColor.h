// COLORREF colours of the records and the theme as Direct2D colours.
#pragma once

#include "model/Records.h"

#include <windows.h>
#include <d2d1.h>

namespace cadrels {

// Straight (not premultiplied) alpha, as Direct2D brushes take it.
inline D2D1_COLOR_F ToColorF(Color color, float alpha = 1.0f)
{
    return D2D1::ColorF(GetRValue(color) / 255.0f, GetGValue(color) / 255.0f, GetBValue(color) / 255.0f, alpha);
}

}  // namespace cadrels
