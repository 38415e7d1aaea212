#include "cadrel/CadrelDropTarget.h"

#include "base/DebugLog.h"
#include "base/UniqueHandle.h"
#include "cadrel/Cadrel.h"
#include "cadrel/DropEffect.h"
#include "fileops/ShellDataObject.h"

#include <shlobj.h>

namespace cadrels {
namespace {

void SetDropEffectFormat(IDataObject& data, const wchar_t* name, DWORD value)
{
    const auto format = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(name));
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, sizeof value));
    if (format == 0 || !memory) {
        return;
    }
    if (void* locked = GlobalLock(memory.Get())) {
        *static_cast<DWORD*>(locked) = value;
        GlobalUnlock(memory.Get());
    }
    FORMATETC etc{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = memory.Get();
    // With fRelease the data object owns the memory once it took it.
    if (const HRESULT set = data.SetData(&etc, &medium, TRUE); SUCCEEDED(set)) {
        memory.Release();
    } else {
        DebugLog(L"Depot : l'objet de donnees refuse le format %ls (0x%08lX).", name, static_cast<unsigned long>(set));
    }
}

void TellSourceTheTargetMoved(IDataObject& data)
{
    SetDropEffectFormat(data, CFSTR_PERFORMEDDROPEFFECT, DROPEFFECT_NONE);
    SetDropEffectFormat(data, CFSTR_LOGICALPERFORMEDDROPEFFECT, DROPEFFECT_MOVE);
}

}  // namespace

HRESULT CadrelDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    FORMATETC format = FileDropFormat();
    accepting_ = cadrel_ != nullptr && data != nullptr && data->QueryGetData(&format) == S_OK &&
                 cadrel_->TakesDropOf(data);
    if (accepting_) {
        cadrel_->SetDropHighlight(true);
        cadrel_->SetDropTab(cadrel_->TabAtScreenPoint({point.x, point.y}));
    }
    *effect = ChooseDropEffect(accepting_, (keys & MK_CONTROL) != 0, *effect);
    return S_OK;
}

HRESULT CadrelDropTarget::DragOver(DWORD keys, POINTL point, DWORD* effect)
{
    if (accepting_ && cadrel_ != nullptr) {
        cadrel_->SetDropTab(cadrel_->TabAtScreenPoint({point.x, point.y}));
    }
    *effect = ChooseDropEffect(accepting_, (keys & MK_CONTROL) != 0, *effect);
    return S_OK;
}

HRESULT CadrelDropTarget::DragLeave()
{
    if (cadrel_ != nullptr) {
        cadrel_->SetDropHighlight(false);
        cadrel_->SetDropTab(-1);
    }
    accepting_ = false;
    return S_OK;
}

HRESULT CadrelDropTarget::Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect)
{
    if (cadrel_ == nullptr) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const int tab = cadrel_->TabAtScreenPoint({point.x, point.y});
    DragLeave();
    if (!cadrel_->TakesDropOf(data)) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    const std::vector<std::wstring> paths = DroppedPaths(data);
    const unsigned chosen = ChooseDropEffect(!paths.empty(), (keys & MK_CONTROL) != 0, *effect);
    const int arrived = chosen != DropNone ? cadrel_->ReceiveDrop(paths, chosen == DropMove, tab) : 0;
    if (chosen == DropMove && arrived > 0) {
        // The files were moved here, not left for the source to delete: a
        // source that follows the shell's optimized move reads this and
        // deletes nothing, whatever the answer says.
        TellSourceTheTargetMoved(*data);
    }
    // The source learns what really happened: a move it was told of may
    // make it delete its originals.
    *effect = AnsweredDropEffect(chosen, arrived, static_cast<int>(paths.size()));
    return S_OK;
}

HRESULT SimpleDropSource::QueryContinueDrag(BOOL escape, DWORD keys)
{
    if (escape) {
        return DRAGDROP_S_CANCEL;
    }
    return (keys & (MK_LBUTTON | MK_RBUTTON)) != 0 ? S_OK : DRAGDROP_S_DROP;
}

HRESULT SimpleDropSource::GiveFeedback(DWORD)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

}  // namespace cadrels
