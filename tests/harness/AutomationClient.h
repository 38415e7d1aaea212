// The UI Automation client interfaces as far as the tests call them, which
// MinGW-w64's uiautomationclient.h does not declare; layouts from the
// Windows SDK's public documentation. Placeholders keep the table offsets
// of the methods that are called; they are never called themselves.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>

namespace cadrels::testing {

// CLSID_CUIAutomation and IID_IUIAutomation (uiautomationclient.h).
inline constexpr CLSID CLSID_CUIAutomationClient = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
inline constexpr IID IID_IUIAutomationClient = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};

#define CADRELS_UIA_PLACEHOLDER(n) virtual void STDMETHODCALLTYPE Placeholder##n() = 0;

// IUIAutomationElement up to get_CurrentNativeWindowHandle.
struct IUIAutomationElementClient : public IUnknown {
    // SetFocus ... GetCachedChildren
    CADRELS_UIA_PLACEHOLDER(03) CADRELS_UIA_PLACEHOLDER(04) CADRELS_UIA_PLACEHOLDER(05)
    CADRELS_UIA_PLACEHOLDER(06) CADRELS_UIA_PLACEHOLDER(07) CADRELS_UIA_PLACEHOLDER(08)
    CADRELS_UIA_PLACEHOLDER(09) CADRELS_UIA_PLACEHOLDER(10) CADRELS_UIA_PLACEHOLDER(11)
    CADRELS_UIA_PLACEHOLDER(12) CADRELS_UIA_PLACEHOLDER(13) CADRELS_UIA_PLACEHOLDER(14)
    CADRELS_UIA_PLACEHOLDER(15) CADRELS_UIA_PLACEHOLDER(16) CADRELS_UIA_PLACEHOLDER(17)
    CADRELS_UIA_PLACEHOLDER(18) CADRELS_UIA_PLACEHOLDER(19)
    virtual HRESULT STDMETHODCALLTYPE get_CurrentProcessId(int* processId) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentControlType(int* controlType) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentLocalizedControlType(BSTR* text) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentName(BSTR* name) = 0;
    // AcceleratorKey, AccessKey, HasKeyboardFocus, IsKeyboardFocusable,
    // IsEnabled, AutomationId
    CADRELS_UIA_PLACEHOLDER(24) CADRELS_UIA_PLACEHOLDER(25) CADRELS_UIA_PLACEHOLDER(26)
    CADRELS_UIA_PLACEHOLDER(27) CADRELS_UIA_PLACEHOLDER(28) CADRELS_UIA_PLACEHOLDER(29)
    virtual HRESULT STDMETHODCALLTYPE get_CurrentClassName(BSTR* name) = 0;
    // HelpText, Culture, IsControlElement, IsContentElement, IsPassword
    CADRELS_UIA_PLACEHOLDER(31) CADRELS_UIA_PLACEHOLDER(32) CADRELS_UIA_PLACEHOLDER(33)
    CADRELS_UIA_PLACEHOLDER(34) CADRELS_UIA_PLACEHOLDER(35)
    virtual HRESULT STDMETHODCALLTYPE get_CurrentNativeWindowHandle(void** window) = 0;
};

// IUIAutomation up to ElementFromHandle.
struct IUIAutomationClient : public IUnknown {
    // CompareElements, CompareRuntimeIds
    CADRELS_UIA_PLACEHOLDER(03) CADRELS_UIA_PLACEHOLDER(04)
    virtual HRESULT STDMETHODCALLTYPE GetRootElement(IUIAutomationElementClient** root) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, IUIAutomationElementClient** element) = 0;
};

#undef CADRELS_UIA_PLACEHOLDER

}  // namespace cadrels::testing
