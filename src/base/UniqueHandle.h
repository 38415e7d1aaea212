// Move-only owners for Win32 handles: one template, one close function per
// handle type, so that no function needs a cleanup ladder.
#pragma once

#include <windows.h>

#include <utility>

namespace cadrels {

template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Type value) noexcept : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Type Get() const noexcept { return value_; }
    bool Valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return Valid(); }

    Type Release() noexcept { return std::exchange(value_, Traits::Invalid()); }

    void Reset(Type value = Traits::Invalid()) noexcept
    {
        if (Valid()) {
            Traits::Close(value_);
        }
        value_ = value;
    }

    // For out-parameters of creation calls: closes what is held first.
    Type* Put() noexcept
    {
        Reset();
        return &value_;
    }

private:
    Type value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// CreateFileW and FindFirstFileW report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RegCloseKey(h); }
};

template <typename T>
struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteDC(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

struct HookTraits {
    using Type = HHOOK;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::UnhookWindowsHookEx(h); }
};

struct WinEventHookTraits {
    using Type = HWINEVENTHOOK;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::UnhookWinEvent(h); }
};

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyWindow(h); }
};

struct MenuTraits {
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyMenu(h); }
};

// Movable global memory, freed unless handed over (to the clipboard).
struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::GlobalFree(h); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFile = UniqueResource<FileHandleTraits>;
using UniqueFind = UniqueResource<FindHandleTraits>;
using UniqueKey = UniqueResource<RegKeyTraits>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniquePen = UniqueResource<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueRegion = UniqueResource<GdiObjectTraits<HRGN>>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;
using UniqueModule = UniqueResource<ModuleTraits>;
using UniqueHook = UniqueResource<HookTraits>;
using UniqueWinEventHook = UniqueResource<WinEventHookTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
using UniqueGlobal = UniqueResource<GlobalMemoryTraits>;

// Restores a device context's selected object when it goes out of scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A screen DC from GetDC, given back with ReleaseDC.
class ScreenDc {
public:
    ScreenDc() noexcept : dc_(::GetDC(nullptr)) {}
    ~ScreenDc()
    {
        if (dc_) {
            ::ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const noexcept { return dc_; }

private:
    HDC dc_;
};

}  // namespace cadrels
