// Declarations from the Windows SDK that the MinGW-w64 headers lack, taken
// from the public documentation.
#pragma once

#include <d2d1_1.h>
#include <guiddef.h>
#include <objidl.h>

namespace cadrels {

// ID2D1DeviceContext5 (d2d1_3.h): the device context that draws SVG documents.
inline constexpr GUID IID_ID2D1DeviceContext5 = {
    0x7836d248, 0x68cc, 0x4df6, {0xb9, 0xe8, 0xde, 0x99, 0x1b, 0xf6, 0x2e, 0xb7}};

// ID2D1SvgDocument (d2d1svg.h). The program only creates, holds and draws
// documents, so none of its own methods is declared.
struct ID2D1SvgDocument : public ID2D1Resource {};

// ID2D1DeviceContext5 as far as its two SVG methods. The interfaces between
// it and ID2D1DeviceContext add 23 methods (ID2D1DeviceContext1: 3,
// ID2D1DeviceContext2: 11, ID2D1DeviceContext3: 2, ID2D1DeviceContext4: 7)
// that are never called here; the placeholders only keep the table offsets
// of the two that are. Reached only through QueryInterface with the
// identifier above, never implemented.
struct ID2D1DeviceContext5Svg : public ID2D1DeviceContext {
#define CADRELS_D2D_PLACEHOLDER(n) virtual void STDMETHODCALLTYPE Placeholder##n() = 0;
    CADRELS_D2D_PLACEHOLDER(01) CADRELS_D2D_PLACEHOLDER(02) CADRELS_D2D_PLACEHOLDER(03)
    CADRELS_D2D_PLACEHOLDER(04) CADRELS_D2D_PLACEHOLDER(05) CADRELS_D2D_PLACEHOLDER(06)
    CADRELS_D2D_PLACEHOLDER(07) CADRELS_D2D_PLACEHOLDER(08) CADRELS_D2D_PLACEHOLDER(09)
    CADRELS_D2D_PLACEHOLDER(10) CADRELS_D2D_PLACEHOLDER(11) CADRELS_D2D_PLACEHOLDER(12)
    CADRELS_D2D_PLACEHOLDER(13) CADRELS_D2D_PLACEHOLDER(14) CADRELS_D2D_PLACEHOLDER(15)
    CADRELS_D2D_PLACEHOLDER(16) CADRELS_D2D_PLACEHOLDER(17) CADRELS_D2D_PLACEHOLDER(18)
    CADRELS_D2D_PLACEHOLDER(19) CADRELS_D2D_PLACEHOLDER(20) CADRELS_D2D_PLACEHOLDER(21)
    CADRELS_D2D_PLACEHOLDER(22) CADRELS_D2D_PLACEHOLDER(23)
#undef CADRELS_D2D_PLACEHOLDER
    virtual HRESULT STDMETHODCALLTYPE CreateSvgDocument(IStream* inputXmlStream, D2D1_SIZE_F viewportSize,
                                                        ID2D1SvgDocument** svgDocument) = 0;
    virtual void STDMETHODCALLTYPE DrawSvgDocument(ID2D1SvgDocument* svgDocument) = 0;
};

}  // namespace cadrels
