// A drag of files started by a test, as another program would start one:
// the shell's data object for the files, and a drop source that walks the
// pointer to the target itself (the test never pressed a button).
#pragma once

#include <windows.h>
#include <oleidl.h>
#include <wrl/client.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace cadrels::testing {

class WalkingDropSource final : public IDropSource {
public:
    // `atTarget`, when given, runs once with the pointer over the target.
    WalkingDropSource(POINT from, POINT to, std::function<void()> atTarget = {})
        : from_(from), to_(to), atTarget_(std::move(atTarget))
    {
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD) override;
    // The effect the target last answered is what the pointer shows.
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override
    {
        shown_ = effect;
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
    DWORD Shown() const { return shown_; }

private:
    static constexpr int Steps = 10;
    POINT from_;
    POINT to_;
    std::function<void()> atTarget_;
    int step_ = 0;
    DWORD shown_ = DROPEFFECT_NONE;
};

// What a drag ended with: the effect the target answered at the drop, and
// the one the pointer showed just before.
struct DragOutcome {
    DWORD dropped = DROPEFFECT_NONE;
    DWORD shown = DROPEFFECT_NONE;
};

// Drags any data from `from` to `to` with the given effects offered. With
// `ctrl`, this thread's keyboard state says Ctrl is down once the pointer is
// over the target, as when a user presses it there: the drag loop reads the
// key state of the thread that runs it.
DragOutcome DragData(IDataObject* data, POINT from, POINT to, DWORD offered, bool ctrl = false,
                     std::function<void()> atTarget = {});

// A data object that carries only text, as a drag from an editor does.
Microsoft::WRL::ComPtr<IDataObject> TextDataObject(const std::wstring& text);

// A CF_HDROP data object for files of one folder, as the shell makes it.
Microsoft::WRL::ComPtr<IDataObject> FilesDataObject(const std::wstring& folder, const std::vector<std::wstring>& names);

// The shell's data object for files, wrapped so that what the target sets
// on it (the performed drop effects) can be read back, as a source that
// follows the shell's optimized move reads it.
class RecordingDataObject final : public IDataObject {
public:
    explicit RecordingDataObject(Microsoft::WRL::ComPtr<IDataObject> inner) : inner_(std::move(inner)) {}

    // The DWORD the target set under the registered format `name`.
    std::optional<DWORD> SetValue(const wchar_t* name) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

private:
    Microsoft::WRL::ComPtr<IDataObject> inner_;
    std::map<CLIPFORMAT, DWORD> set_;
    LONG references_ = 1;
};
Microsoft::WRL::ComPtr<RecordingDataObject> RecordingFilesDataObject(const std::wstring& folder,
                                                                     const std::vector<std::wstring>& names);

// Drags the files from `from` to `to` with the given effects offered;
// returns the effect the target answered.
DWORD DragFiles(const std::wstring& folder, const std::vector<std::wstring>& names, POINT from, POINT to,
                DWORD offered, std::function<void()> atTarget = {});

}  // namespace cadrels::testing
