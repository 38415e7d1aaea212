#include "cadrel/QuickLook.h"

#include "base/DebugLog.h"
#include "base/Failure.h"
#include "cadrel/QuickLookRules.h"
#include "fileops/LaunchItem.h"
#include "gfx/D2DColor.h"
#include "i18n/StringTable.h"
#include "i18n/TextId.h"
#include "model/PathText.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace cadrels {
namespace {

constexpr Color Background = RGB(22, 24, 28);
constexpr float BackgroundAlpha = 0.985f;
constexpr Color TextColour = RGB(236, 238, 242);
constexpr Color Secondary = RGB(150, 156, 165);
constexpr float AccentAlpha = 0.95f;

struct PreviewColours {
    Color background = Background;
    float backgroundAlpha = BackgroundAlpha;
    Color text = TextColour;
    Color secondary = Secondary;
    Color accent = 0;
};

// The fixed dark colours, or the system's own while high contrast is on.
PreviewColours ColoursFor(Color accent)
{
    PreviewColours colours;
    colours.accent = accent;
    HIGHCONTRASTW contrast{sizeof contrast};
    if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) {
        colours.background = GetSysColor(COLOR_WINDOW);
        colours.backgroundAlpha = 1.0f;
        colours.text = GetSysColor(COLOR_WINDOWTEXT);
        colours.secondary = GetSysColor(COLOR_WINDOWTEXT);
        colours.accent = GetSysColor(COLOR_HIGHLIGHT);
    }
    return colours;
}

// "Consolas" where the machine has it, else another fixed-width family it
// has, else the interface family: DirectWrite lays out a missing family
// with zero width and the text would not show at all.
std::wstring CodeFontFamily(const GraphicsDevice& device)
{
    Microsoft::WRL::ComPtr<IDWriteFontCollection> fonts;
    if (device.DWrite() != nullptr && SUCCEEDED(device.DWrite()->GetSystemFontCollection(fonts.GetAddressOf()))) {
        for (const wchar_t* family : {L"Consolas", L"Cascadia Mono", L"Courier New", L"DejaVu Sans Mono",
                                      L"Liberation Mono", L"Noto Sans Mono"}) {
            UINT32 index = 0;
            BOOL exists = FALSE;
            if (SUCCEEDED(fonts->FindFamilyName(family, &index, &exists)) && exists) {
                return family;
            }
        }
    }
    return device.UiFontFamily();
}

const wchar_t* ModeName(PreviewKind mode)
{
    switch (mode) {
    case PreviewKind::Picture:
        return L"image";
    case PreviewKind::Text:
        return L"texte";
    default:
        return L"details";
    }
}

D2D1_RECT_F ToD2D(const PreviewRect& r)
{
    return D2D1::RectF(r.left, r.top, r.right, r.bottom);
}

void DrawLine(ID2D1DeviceContext& context, const std::wstring& text, IDWriteTextFormat* format,
              ID2D1SolidColorBrush* brush, const D2D1_RECT_F& rect)
{
    if (format != nullptr && !text.empty()) {
        context.DrawTextW(text.c_str(), static_cast<UINT32>(text.size()), format, rect, brush,
                          D2D1_DRAW_TEXT_OPTIONS_CLIP);
    }
}

}  // namespace

QuickLook::QuickLook(GraphicsDevice& device, HWND appWindow)
    : device_(device), appWindow_(appWindow), graphics_(device, *this, appWindow)
{
}

QuickLook::~QuickLook()
{
    Close();
    loader_.Stop();
    outbox_->TakeAll();
}

void QuickLook::Show(HINSTANCE module, HWND owner, unsigned dpi, std::vector<std::wstring> paths, int start,
                     Color accent)
{
    if (IsOpen()) {
        Close();
    }
    if (paths.empty()) {
        return;
    }
    dpi_ = dpi == 0 ? 96 : dpi;
    paths_ = std::move(paths);
    const int count = static_cast<int>(paths_.size());
    current_ = std::clamp(start, 0, count - 1);
    accent_ = accent;
    ++session_;

    MONITORINFO monitor{sizeof monitor};
    const HMONITOR where = owner != nullptr ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoW(where, &monitor)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    const PreviewWindowPlacement placement =
        PlacePreviewWindow(monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right, monitor.rcWork.bottom, dpi_);
    width_ = placement.width;
    height_ = placement.height;

    HWND window = CreateOwnWindow(module, WS_EX_TOOLWINDOW | WS_EX_TOPMOST | device_.WindowExStyle(), L"Cadrels",
                                  WS_POPUP, placement.x, placement.y, placement.width, placement.height);
    if (window == nullptr) {
        DebugLog(L"Apercu rapide : fenetre impossible a creer (erreur %lu).", GetLastError());
        paths_.clear();
        current_ = -1;
        return;
    }
    DebugLog(L"Apercu rapide ouvert sur %ls (%d/%d), fenetre %dx%d a %u ppp.", paths_[current_].c_str(),
             current_ + 1, count, width_, height_, dpi_);
    ShowWindow(window, SW_SHOW);
    TakeForeground();
    LoadCurrent();
    Render();
}

void QuickLook::TakeForeground()
{
    // As the rename box does: join the foreground thread's input for the few
    // calls that move the activation and the focus.
    HWND window = window_.Get();
    const DWORD self = GetCurrentThreadId();
    HWND foreground = GetForegroundWindow();
    const DWORD other = foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const bool attached = other != 0 && other != self && AttachThreadInput(self, other, TRUE) != FALSE;
    SetForegroundWindow(window);
    BringWindowToTop(window);
    SetFocus(window);
    if (attached) {
        AttachThreadInput(self, other, FALSE);
    }
}

void QuickLook::Close()
{
    // Forgotten before it goes: the deactivation its destruction causes
    // finds the preview closed already.
    HWND window = window_.Release();
    if (window == nullptr) {
        return;
    }
    graphics_.Detach();
    DestroyWindow(window);
    loader_.Forget();
    // The pictures, the neighbours read ahead and any answer still on its
    // way go with the window.
    ready_.clear();
    shown_.reset();
    waiting_ = false;
    recheck_ = false;
    outbox_->TakeAll();
    paths_.clear();
    paths_.shrink_to_fit();
    current_ = -1;
    DebugLog(L"Apercu rapide ferme.");
}

PreviewRequest QuickLook::RequestFor(int index) const
{
    PreviewRequest request;
    request.session = session_;
    request.index = index;
    request.path = paths_[static_cast<size_t>(index)];
    request.maxSide = std::max(width_, height_);
    request.iconSize = static_cast<int>(96.0f * static_cast<float>(dpi_) / 96.0f);
    return request;
}

void QuickLook::RequestAround()
{
    // The current item first, then the one a step forward is likelier to
    // want, then the one behind.
    std::vector<PreviewRequest> requests;
    const int count = static_cast<int>(paths_.size());
    for (const int index : {current_, current_ + 1, current_ - 1}) {
        if (index >= 0 && index < count && ready_.find(index) == ready_.end()) {
            requests.push_back(RequestFor(index));
        }
    }
    loader_.Want(window_.Get(), WM_PREVIEW_LOADED, std::move(requests));
}

void QuickLook::LoadCurrent()
{
    picture_.Reset();
    recheck_ = false;
    const int count = static_cast<int>(paths_.size());
    if (current_ < 0 || current_ >= count) {
        shown_.reset();
        waiting_ = false;
        return;
    }
    // Only the current item and its neighbours stay read.
    for (auto it = ready_.begin(); it != ready_.end();) {
        it = std::abs(it->first - current_) > 1 ? ready_.erase(it) : std::next(it);
    }
    if (const auto found = ready_.find(current_); found != ready_.end()) {
        Display(found->second);
        // Text and details are cheap to read again and may have changed
        // since they were read ahead (a file deleted, a log written to):
        // they are shown at once and checked once more behind the scenes.
        if (found->second->mode != PreviewKind::Picture) {
            ready_.erase(found);
            recheck_ = true;
        }
    } else {
        const std::wstring& path = paths_[static_cast<size_t>(current_)];
        const std::wstring_view name = LastPathComponent(path);
        const size_t dot = name.rfind(L'.');
        const bool picture = dot != std::wstring_view::npos &&
                             PreviewKindForExtension(name.substr(dot + 1)) == PreviewKind::Picture;
        // A picture following a picture keeps the previous one on screen
        // until its own is decoded; anything else shows what the path
        // alone tells: its name.
        if (!(picture && shown_ && shown_->mode == PreviewKind::Picture)) {
            auto placeholder = std::make_shared<PreviewContent>();
            placeholder->session = session_;
            placeholder->index = current_;
            placeholder->path = path;
            placeholder->name = std::wstring(name);
            shown_ = std::move(placeholder);
        }
        waiting_ = true;
    }
    RequestAround();
}

void QuickLook::Display(std::shared_ptr<const PreviewContent> content)
{
    shown_ = std::move(content);
    waiting_ = false;
    picture_.Reset();
    if (shown_->mode == PreviewKind::Details) {
        DebugLog(L"Apercu rapide : %ls (%d/%d) en mode details : type \"%ls\", taille \"%ls\", date \"%ls\", "
                 L"icone %ux%u.",
                 shown_->name.c_str(), current_ + 1, static_cast<int>(paths_.size()), shown_->type.c_str(),
                 shown_->sizeText.c_str(), shown_->dateText.c_str(), shown_->image.width, shown_->image.height);
    } else {
        DebugLog(L"Apercu rapide : %ls (%d/%d) en mode %ls.", shown_->name.c_str(), current_ + 1,
                 static_cast<int>(paths_.size()), ModeName(shown_->mode));
    }
}

bool QuickLook::SameView(const PreviewContent& a, const PreviewContent& b)
{
    return a.mode == b.mode && a.text == b.text && a.type == b.type && a.sizeText == b.sizeText &&
           a.dateText == b.dateText && a.image.width == b.image.width && a.image.height == b.image.height &&
           a.pictureWidth == b.pictureWidth && a.pictureHeight == b.pictureHeight;
}

void QuickLook::OnLoaded()
{
    bool changed = false;
    while (std::unique_ptr<PreviewContent> content = outbox_->Take()) {
        // Answers of an earlier opening, or for an item the user has since
        // stepped well away from, are of no use any more.
        if (!IsOpen() || content->session != session_ || std::abs(content->index - current_) > 1) {
            DebugLog(L"Apercu rapide : lecture de %ls arrivee trop tard, ignoree.", content->path.c_str());
            continue;
        }
        const int index = content->index;
        std::shared_ptr<const PreviewContent> ready = std::move(content);
        ready_[index] = ready;
        if (index != current_) {
            continue;
        }
        if (waiting_ || (recheck_ && shown_ && !SameView(*shown_, *ready))) {
            Display(std::move(ready));
            changed = true;
        }
        recheck_ = false;
    }
    if (changed) {
        Render();
    }
}

void QuickLook::Render()
{
    if (!IsOpen()) {
        return;
    }
    if (graphics_.Draw() == FrameResult::DeviceLost) {
        DebugLog(L"Apercu rapide : perte du device, fermeture.");
        Close();
    }
}

void QuickLook::GoTo(int index)
{
    if (index < 0 || index == current_) {
        return;
    }
    current_ = index;
    LoadCurrent();
    Render();
}

void QuickLook::Step(int delta)
{
    GoTo(SteppedIndex(current_, delta, static_cast<int>(paths_.size())));
}

void QuickLook::OpenCurrent()
{
    if (current_ < 0 || current_ >= static_cast<int>(paths_.size())) {
        return;
    }
    const std::wstring path = paths_[static_cast<size_t>(current_)];
    Close();
    LaunchItem(nullptr, path, LaunchCause::UserAction);
}

LRESULT QuickLook::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE:
        window_.Reset(window);
        break;
    case WM_CREATE:
        return OnCreate(window) ? 0 : -1;
    case WM_SIZE:
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        ValidateWithoutPainting(window);
        Render();
        return 0;
    case WM_ACTIVATE:
        OnActivate(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_LBUTTONUP:
        Close();
        return 0;
    case WM_MOUSEWHEEL:
        Step(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : +1);
        return 0;
    case WM_DPICHANGED:
        // Laid out for the cadrel's DPI at opening; the window stays put.
        return 0;
    case WM_PREVIEW_LOADED:
        OnLoaded();
        return 0;
    case WM_NCDESTROY:
        if (window_.Get() == window) {
            graphics_.Detach();
            window_.Release();
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool QuickLook::OnCreate(HWND window)
{
    graphics_.Attach(window);
    if (FAILED(graphics_.Rebuild())) {
        DebugLog(L"Apercu rapide : objets de dessin impossibles a creer.");
        graphics_.Detach();
        window_.Release();
        return false;
    }
    return true;
}

void QuickLook::OnSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        return;
    }
    width_ = width;
    height_ = height;
    Render();
}

void QuickLook::OnActivate(WPARAM state)
{
    if (LOWORD(state) == WA_INACTIVE) {
        // Clicking anywhere else closes the preview.
        Close();
    }
}

void QuickLook::OnKeyDown(WPARAM key)
{
    switch (key) {
    case VK_RETURN:
        OpenCurrent();
        break;
    case VK_ESCAPE:
    case VK_SPACE:
        Close();
        break;
    case VK_LEFT:
    case VK_UP:
    case VK_PRIOR:
        Step(-1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
    case VK_NEXT:
        Step(+1);
        break;
    case VK_HOME:
        GoTo(0);
        break;
    case VK_END:
        GoTo(static_cast<int>(paths_.size()) - 1);
        break;
    default:
        break;
    }
}

HRESULT QuickLook::CreateDeviceResources(GraphicsDevice& device, ID2D1DeviceContext& context)
{
    // The picture belonged to the previous device; DrawFrame makes it again
    // from the pixels kept.
    picture_.Reset();
    const float s = static_cast<float>(dpi_) / 96.0f;
    const PreviewColours colours = ColoursFor(accent_);
    CADRELS_RETURN_IF_FAILED(context.CreateSolidColorBrush(ToColorF(colours.background, colours.backgroundAlpha),
                                                           backgroundBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(ToColorF(colours.text), textBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(ToColorF(colours.secondary), secondaryBrush_.ReleaseAndGetAddressOf()));
    CADRELS_RETURN_IF_FAILED(
        context.CreateSolidColorBrush(ToColorF(colours.accent, AccentAlpha), accentBrush_.ReleaseAndGetAddressOf()));

    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(16.5f * s, DWRITE_FONT_WEIGHT_SEMI_BOLD, titleFormat_.ReleaseAndGetAddressOf()));
    titleFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING);
    titleFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    titleFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);

    const std::wstring codeFamily = CodeFontFamily(device);
    CADRELS_RETURN_IF_FAILED(device.DWrite()->CreateTextFormat(
        codeFamily.c_str(), nullptr, DWRITE_FONT_WEIGHT_NORMAL, DWRITE_FONT_STYLE_NORMAL,
        DWRITE_FONT_STRETCH_NORMAL, 12.5f * s, L"", codeFormat_.ReleaseAndGetAddressOf()));
    codeFormat_->SetWordWrapping(DWRITE_WORD_WRAPPING_WRAP);

    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(12.0f * s, DWRITE_FONT_WEIGHT_NORMAL, smallFormat_.ReleaseAndGetAddressOf()));
    smallFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(14.0f * s, DWRITE_FONT_WEIGHT_NORMAL, bodyFormat_.ReleaseAndGetAddressOf()));
    bodyFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    CADRELS_RETURN_IF_FAILED(
        device.CreateTextFormat(11.0f * s, DWRITE_FONT_WEIGHT_NORMAL, hintFormat_.ReleaseAndGetAddressOf()));
    hintFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    hintFormat_->SetParagraphAlignment(DWRITE_PARAGRAPH_ALIGNMENT_CENTER);
    return S_OK;
}

void QuickLook::ReleaseDeviceResources()
{
    picture_.Reset();
    backgroundBrush_.Reset();
    textBrush_.Reset();
    secondaryBrush_.Reset();
    accentBrush_.Reset();
    titleFormat_.Reset();
    codeFormat_.Reset();
    smallFormat_.Reset();
    bodyFormat_.Reset();
    hintFormat_.Reset();
}

void QuickLook::DrawFrame(ID2D1DeviceContext& context, D2D1_SIZE_F size)
{
    const float s = static_cast<float>(dpi_) / 96.0f;
    const float radius = 14.0f * s;
    const float border = 1.5f * s;
    // The stroke straddles the edge: inset by half its width so none is cut.
    const D2D1_ROUNDED_RECT panel = D2D1::RoundedRect(
        D2D1::RectF(border / 2, border / 2, size.width - border / 2, size.height - border / 2), radius, radius);
    context.FillRoundedRectangle(panel, backgroundBrush_.Get());
    context.DrawRoundedRectangle(panel, accentBrush_.Get(), border);

    const PreviewLayout layout = LayOutPreview(size.width, size.height, dpi_);
    if (shown_ && current_ >= 0) {
        wchar_t position[48];
        swprintf(position, 48, L"   (%d/%d)", current_ + 1, static_cast<int>(paths_.size()));
        const std::wstring name(LastPathComponent(paths_[static_cast<size_t>(current_)]));
        DrawLine(context, name + position, titleFormat_.Get(), textBrush_.Get(), ToD2D(layout.header));

        const D2D1_RECT_F box = ToD2D(layout.content);
        switch (shown_->mode) {
        case PreviewKind::Picture:
            DrawPicture(context, box);
            break;
        case PreviewKind::Text: {
            const D2D1_RECT_F textRect = D2D1::RectF(box.left + 6.0f * s, box.top + 4.0f * s,
                                                     box.right - 6.0f * s, box.bottom);
            DrawLine(context, shown_->text, codeFormat_.Get(), secondaryBrush_.Get(), textRect);
            break;
        }
        default:
            DrawDetails(context, box, size.width);
            break;
        }
    }
    DrawLine(context, Tr(TextId::QuickLookHint), hintFormat_.Get(), secondaryBrush_.Get(), ToD2D(layout.hint));
}

void QuickLook::DrawPicture(ID2D1DeviceContext& context, const D2D1_RECT_F& box)
{
    const IconResult& image = shown_->image;
    if (!picture_ && image.HasImage()) {
        const D2D1_BITMAP_PROPERTIES properties = D2D1::BitmapProperties(
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        if (FAILED(context.CreateBitmap(D2D1::SizeU(image.width, image.height), image.pixels.data(), image.width * 4,
                                        &properties, picture_.GetAddressOf()))) {
            picture_.Reset();
        }
    }
    if (!picture_) {
        return;
    }
    const PreviewRect fitted = FitPictureInBox({box.left, box.top, box.right, box.bottom},
                                               static_cast<int>(image.width), static_cast<int>(image.height));
    context.DrawBitmap(picture_.Get(), ToD2D(fitted), 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
}

void QuickLook::DrawDetails(ID2D1DeviceContext& context, const D2D1_RECT_F& box, float width)
{
    const float s = static_cast<float>(dpi_) / 96.0f;
    const float m = 18.0f * s;
    float y = box.top + 10.0f * s;
    const IconResult& icon = shown_->image;
    if (!picture_ && icon.HasImage()) {
        const D2D1_BITMAP_PROPERTIES properties = D2D1::BitmapProperties(
            D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED), 96.0f, 96.0f);
        if (FAILED(context.CreateBitmap(D2D1::SizeU(icon.width, icon.height), icon.pixels.data(), icon.width * 4,
                                        &properties, picture_.GetAddressOf()))) {
            picture_.Reset();
        }
    }
    if (picture_) {
        const float side = 96.0f * s;
        const float left = (width - side) / 2.0f;
        const PreviewRect square = FitPictureInBox({left, y, left + side, y + side}, static_cast<int>(icon.width),
                                                   static_cast<int>(icon.height));
        context.DrawBitmap(picture_.Get(), ToD2D(square), 1.0f, D2D1_BITMAP_INTERPOLATION_MODE_LINEAR);
        y += side + 16.0f * s;
    }
    // The name stands under the centred icon, so it is centred too.
    titleFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_CENTER);
    DrawLine(context, shown_->name, titleFormat_.Get(), textBrush_.Get(), D2D1::RectF(m, y, width - m, y + 30.0f * s));
    titleFormat_->SetTextAlignment(DWRITE_TEXT_ALIGNMENT_LEADING);
    y += 30.0f * s + 8.0f * s;

    const auto row = [&](const std::wstring& text) {
        if (text.empty()) {
            return;
        }
        DrawLine(context, text, bodyFormat_.Get(), secondaryBrush_.Get(), D2D1::RectF(m, y, width - m, y + 24.0f * s));
        y += 24.0f * s;
    };
    if (!shown_->type.empty()) {
        row(std::wstring(Tr(TextId::ColumnType)) + L" : " + shown_->type);
    }
    if (!shown_->sizeText.empty()) {
        row(std::wstring(Tr(TextId::ColumnSize)) + L" : " + shown_->sizeText);
    }
    if (shown_->pictureWidth > 0 && shown_->pictureHeight > 0) {
        row(std::to_wstring(shown_->pictureWidth) + L" \u00D7 " + std::to_wstring(shown_->pictureHeight) + L" px");
    }
    if (!shown_->dateText.empty()) {
        row(std::wstring(Tr(TextId::ColumnModified)) + L" : " + shown_->dateText);
    }
}

}  // namespace cadrels
