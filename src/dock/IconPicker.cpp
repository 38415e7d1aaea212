#include "dock/IconPicker.h"

#include "base/DebugLog.h"
#include "base/Failure.h"
#include "gfx/BuiltinIconTable.h"
#include "gfx/D2DColor.h"
#include "i18n/StringTable.h"
#include "model/Theme.h"

#include <commdlg.h>
#include <windowsx.h>

#include <cmath>
#include <optional>
#include <utility>

namespace cadrels {
namespace {

constexpr float IconBitmapSide = 128.0f;
constexpr D2D1_COLOR_F TextColour{0.110f, 0.118f, 0.141f, 0.95f};

D2D1_RECT_F ToRectF(const DockRect& rect)
{
    return D2D1::RectF(rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace

IconPicker::IconPicker(GraphicsDevice& device, HWND appWindow, ModalGuard modalGuard)
    : device_(device), graphics_(device, *this, appWindow), modalGuard_(std::move(modalGuard))
{
}

IconPicker::~IconPicker()
{
    Close();
}

bool IconPicker::Open(HWND owner, UINT dpi, std::wstring currentKey, Callback callback)
{
    Close();
    const float scale = DpiScale(dpi);
    currentKey_ = std::move(currentKey);
    callback_ = std::move(callback);
    hover_ = IconPickerHitNothing;

    HMONITOR monitor = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                        : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(monitor, &info)) {
        work = info.rcWork;
    }
    geometry_ = ComputeIconPickerGeometry(static_cast<int>(BuiltinIconTable().size()), scale, work.right - work.left,
                                          work.bottom - work.top);
    const int x = work.left + (work.right - work.left - geometry_.width) / 2;
    const int y = work.top + (work.bottom - work.top - geometry_.height) / 2;

    HWND window = CreateOwnWindow(GetModuleHandleW(nullptr), WS_EX_TOOLWINDOW | WS_EX_TOPMOST | device_.WindowExStyle(),
                                  Tr(TextId::ChooseIcon), WS_POPUP, x, y, geometry_.width, geometry_.height, owner);
    if (window == nullptr) {
        DebugLog(L"Choix d'icone : creation de la fenetre impossible (erreur %lu).", GetLastError());
        callback_ = nullptr;
        return false;
    }
    window_.Reset(window);
    graphics_.Attach(window);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    const FrameResult drawn = graphics_.Draw();
    DebugLog(L"Choix d'icone ouvert : %d colonnes, %dx%d, %zu icones, image %d.", geometry_.columns, geometry_.width,
             geometry_.height, bitmaps_.size(), static_cast<int>(drawn));
    return true;
}

void IconPicker::Close()
{
    if (window_) {
        graphics_.Release();
        window_.Reset();
    }
    graphics_.Attach(nullptr);
}

void IconPicker::Choose(const std::wstring& key)
{
    // The window goes first: the callback may open another picker.
    Callback callback = std::move(callback_);
    callback_ = nullptr;
    Close();
    DebugLog(L"Choix d'icone : \"%ls\".", key.c_str());
    if (callback) {
        callback(key);
    }
}

LRESULT IconPicker::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        OnMouseMove(-1, -1);
        return 0;
    case WM_LBUTTONUP:
        OnClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_NCDESTROY:
        graphics_.Detach();
        window_.Release();
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void IconPicker::OnPaint()
{
    ValidateWithoutPainting(window_.Get());
    graphics_.Draw();
}

void IconPicker::OnMouseMove(int x, int y)
{
    if (!tracking_ && x >= 0) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window_.Get(), 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
    }
    const int hit = x < 0 ? IconPickerHitNothing
                          : IconPickerHitTest(geometry_, static_cast<float>(x), static_cast<float>(y));
    if (hit != hover_) {
        hover_ = hit;
        graphics_.Draw();
    }
}

void IconPicker::OnClick(int x, int y)
{
    const int hit = IconPickerHitTest(geometry_, static_cast<float>(x), static_cast<float>(y));
    if (hit >= 0) {
        Choose(BuiltinIconTable()[static_cast<size_t>(hit)].key);
    } else if (hit == IconPickerHitDefault) {
        Choose(std::wstring());
    } else if (hit == IconPickerHitCustom) {
        ChooseCustomImage();
    }
}

void IconPicker::OnActivate(bool active)
{
    // The file dialog takes the activation while it is open; that is no
    // reason to close. Closing is posted: the window is in the middle of
    // its activation change.
    if (!active && !dialogOpen_ && window_) {
        PostMessageW(window_.Get(), WM_CLOSE, 0, 0);
    }
}

void IconPicker::ChooseCustomImage()
{
    std::wstring filter = std::wstring(Tr(TextId::Images)) + L" (*.svg;*.png;*.ico;*.jpg;*.bmp)";
    filter.push_back(L'\0');
    filter += L"*.svg;*.png;*.ico;*.jpg;*.jpeg;*.bmp";
    filter.push_back(L'\0');
    filter += std::wstring(Tr(TextId::AllFiles)) + L" (*.*)";
    filter.push_back(L'\0');
    filter += L"*.*";
    filter.push_back(L'\0');
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_.Get();
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    bool chosen = false;
    {
        std::optional<OperationState::Scope> modal;
        if (modalGuard_) {
            modal.emplace(modalGuard_());
        }
        dialogOpen_ = true;
        chosen = GetOpenFileNameW(&dialog) != FALSE;
        dialogOpen_ = false;
    }
    if (!window_) {
        return;
    }
    if (chosen && path[0] != L'\0') {
        Choose(path);
    } else {
        SetForegroundWindow(window_.Get());
    }
}

HRESULT IconPicker::CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context)
{
    const float scale = geometry_.scale;
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 1), brush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(16.0f * scale, DWRITE_FONT_WEIGHT_SEMI_BOLD, titleFormat_.ReleaseAndGetAddressOf()));
    titleFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    titleFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(13.0f * scale, DWRITE_FONT_WEIGHT_NORMAL, buttonFormat_.ReleaseAndGetAddressOf()));
    buttonFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    buttonFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    buttonFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);
    if (bitmapGeneration_ != device.Generation()) {
        bitmaps_.clear();
        svgs_.Clear();
        bitmapGeneration_ = device.Generation();
    }
    if (bitmaps_.empty()) {
        return RasteriseIcons(context);
    }
    return S_OK;
}

HRESULT IconPicker::RasteriseIcons(ID2D1DeviceContext& context)
{
    const ULONGLONG start = GetTickCount64();
    size_t missing = 0;
    // Each icon is drawn once into its own bitmap through the window's
    // context, whose target is put back afterwards.
    Microsoft::WRL::ComPtr<ID2D1Image> previous;
    context.GetTarget(previous.GetAddressOf());
    const D2D1_BITMAP_PROPERTIES1 properties = D2D1::BitmapProperties1(
        D2D1_BITMAP_OPTIONS_TARGET, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
    HRESULT result = S_OK;
    D2D1_MATRIX_3X2_F transform;
    context.GetTransform(&transform);
    context.SetTransform(D2D1::Matrix3x2F::Identity());
    for (const BuiltinIcon& icon : BuiltinIconTable()) {
        Microsoft::WRL::ComPtr<ID2D1Bitmap1> bitmap;
        result = context.CreateBitmap(D2D1::SizeU(128, 128), nullptr, 0, properties, bitmap.GetAddressOf());
        if (FAILED(result)) {
            break;
        }
        const SvgEmblem* emblem = LoadSvgEmblem(svgs_, device_, graphics_.SvgContext(), icon.key);
        context.SetTarget(bitmap.Get());
        context.BeginDraw();
        context.Clear(D2D1::ColorF(0, 0, 0, 0));
        if (emblem != nullptr) {
            // The 100-unit document scaled by 1.28 fills the 128-pixel bitmap.
            DrawSvgEmblem(context, graphics_.SvgContext(), *emblem, D2D1::RectF(0, 0, IconBitmapSide, IconBitmapSide));
        } else {
            ++missing;
        }
        result = context.EndDraw();
        if (FAILED(result)) {
            break;
        }
        bitmaps_[icon.resourceId] = bitmap;
    }
    context.SetTarget(previous.Get());
    context.SetTransform(transform);
    // The documents were only needed to fill the bitmaps.
    svgs_.Clear();
    if (FAILED(result)) {
        bitmaps_.clear();
        DebugLog(L"Choix d'icone : rendu des icones impossible (HRESULT 0x%08X).", static_cast<unsigned>(result));
        return result;
    }
    DebugLog(L"Choix d'icone : %zu icones rendues en %llu ms (%zu sans document).", bitmaps_.size(),
             static_cast<unsigned long long>(GetTickCount64() - start), missing);
    return S_OK;
}

void IconPicker::ReleaseDeviceResources()
{
    brush_.Reset();
    titleFormat_.Reset();
    buttonFormat_.Reset();
}

void IconPicker::DrawButton(ID2D1DeviceContext& context, const DockRect& rect, const wchar_t* text, bool hovered,
                            bool outlined)
{
    const float radius = 9.0f * geometry_.scale;
    const D2D1_ROUNDED_RECT shape = D2D1::RoundedRect(ToRectF(rect), radius, radius);
    brush_->SetColor(D2D1::ColorF(0, 0, 0, hovered ? 0.07f : 0.05f));
    context.FillRoundedRectangle(shape, brush_.Get());
    if (outlined) {
        brush_->SetColor(ToColorF(AccentColor(), 0.95f));
        context.DrawRoundedRectangle(shape, brush_.Get(), 2.0f * geometry_.scale);
    }
    brush_->SetColor(TextColour);
    context.DrawTextW(text, static_cast<UINT32>(wcslen(text)), buttonFormat_.Get(), ToRectF(rect), brush_.Get());
}

void IconPicker::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    const float s = geometry_.scale;
    const float radius = 16.0f * s;
    const D2D1_ROUNDED_RECT panel =
        D2D1::RoundedRect(D2D1::RectF(0.5f, 0.5f, size.width - 0.5f, size.height - 0.5f), radius, radius);
    brush_->SetColor(D2D1::ColorF(0.973f, 0.976f, 0.984f, 0.98f));
    context.FillRoundedRectangle(panel, brush_.Get());
    brush_->SetColor(D2D1::ColorF(0, 0, 0, 0.12f));
    context.DrawRoundedRectangle(panel, brush_.Get(), 1.0f);

    const wchar_t* title = Tr(TextId::ChangeIcon);
    brush_->SetColor(TextColour);
    context.DrawTextW(title, static_cast<UINT32>(wcslen(title)), titleFormat_.Get(),
                      D2D1::RectF(18.0f * s, 10.8f * s, size.width - 18.0f * s, 48.0f * s), brush_.Get(),
                      D2D1_DRAW_TEXT_OPTIONS_CLIP);

    const auto table = BuiltinIconTable();
    const float cellRadius = 11.0f * s;
    for (size_t index = 0; index < table.size(); ++index) {
        const D2D1_RECT_F cell = ToRectF(IconPickerCell(geometry_, static_cast<int>(index)));
        if (hover_ == static_cast<int>(index)) {
            brush_->SetColor(D2D1::ColorF(0, 0, 0, 0.07f));
            context.FillRoundedRectangle(D2D1::RoundedRect(cell, cellRadius, cellRadius), brush_.Get());
        }
        if (currentKey_ == table[index].key) {
            brush_->SetColor(ToColorF(AccentColor(), 0.95f));
            context.DrawRoundedRectangle(D2D1::RoundedRect(cell, cellRadius, cellRadius), brush_.Get(), 2.5f * s);
        }
        const auto bitmap = bitmaps_.find(table[index].resourceId);
        if (bitmap != bitmaps_.end() && bitmap->second) {
            const float inset = 8.0f * s;
            context.DrawBitmap(bitmap->second.Get(),
                               D2D1::RectF(cell.left + inset, cell.top + inset, cell.right - inset, cell.bottom - inset),
                               1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
        }
    }

    const bool custom = !currentKey_.empty() && currentKey_.rfind(L"svg:", 0) != 0;
    DrawButton(context, IconPickerDefaultButton(geometry_), Tr(TextId::DefaultIcon), hover_ == IconPickerHitDefault,
               currentKey_.empty());
    DrawButton(context, IconPickerCustomButton(geometry_), Tr(TextId::CustomImage), hover_ == IconPickerHitCustom,
               custom);
}

}  // namespace cadrels
