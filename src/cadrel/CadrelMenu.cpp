// The cadrel menu: built anew from the cadrel's state at every opening,
// shown as the dark menu at the pointer, and its choice carried out once it
// has closed. Also the hosting submenu's window list and the tab emblem.
#include "cadrel/Cadrel.h"

#include "base/AppMessages.h"
#include "base/DebugLog.h"
#include "cadrel/HostMenuWindows.h"
#include "i18n/StringTable.h"
#include "model/SettingsSchema.h"
#include "policy/Policy.h"
#include "policy/PolicySettings.h"
#include "settings/DarkMenu.h"
#include "settings/DarkPrompt.h"
#include "sorting/RuleTexts.h"
#include "windows/HostedWindows.h"

#include <optional>

namespace cadrels {
namespace {

void AppendIds(const std::vector<DarkMenuItem>& items, std::wstring& text)
{
    for (const DarkMenuItem& item : items) {
        if (item.separator) {
            continue;
        }
        if (!item.children.empty()) {
            text += L"[";
            AppendIds(item.children, text);
            text += L"]";
        } else {
            text += std::to_wstring(item.id);
            if (!item.enabled) {
                text += L"-";
            }
        }
        text += L" ";
    }
}

}  // namespace

std::vector<std::wstring> Cadrel::CollectHostCandidates()
{
    hostCandidates_.clear();
    std::vector<std::wstring> titles;
    const auto hostedElsewhere = [this](HWND window) { return host_.HostedElsewhere(window); };
    for (const HostWindowFacts& window : HostCandidates(TopLevelWindows(hostedElsewhere))) {
        hostCandidates_.push_back(reinterpret_cast<HWND>(window.window));
        titles.push_back(HostMenuTitle(window.title));
    }
    return titles;
}

void Cadrel::ShowCadrelMenu(POINT screen)
{
    HWND window = window_.Get();
    if (window == nullptr) {
        return;
    }
    CadrelMenuFacts facts = host_.FactsForMenus();
    facts.activeTabHosts = hosting_.ActiveTabHosts();
    // The window last released from here can come back while it still is an
    // application window that no cadrel holds.
    HWND released = hosting_.LastReleasedWindow();
    facts.canRehost = released != nullptr && IsWindow(released) && IsLayoutCandidate(released) &&
                      !host_.HostedElsewhere(released);
    facts.rehostWindow = facts.canRehost ? reinterpret_cast<std::uintptr_t>(released) : 0;
    facts.cadrelsLocked = AreCadrelsLocked();
    facts.quitLocked = IsQuitLocked();
    facts.appearanceHidden = IsSectionHiddenOrLocked(SectionAppearance);
    facts.sortingHidden = IsSectionHiddenOrLocked(SectionRules);
    facts.languageHidden = IsSectionHiddenOrLocked(SectionLanguage);
    facts.opacityForced = IsOpacityForced();
    facts.viewForced = IsViewModeForced();
    facts.themeForced = IsThemeForced();
    facts.languageForced = IsLanguageForced();

    CadrelMenuState state;
    state.tabCount = static_cast<int>(tabs_.size());
    state.locked = properties_.locked;
    state.pinned = properties_.pinned;
    state.unfoldDirection = properties_.expandDir;
    state.classifyMode = properties_.classifyMode;
    state.opacity = properties_.opacity;
    state.viewMode = properties_.viewMode;
    state.sortBy = properties_.sortBy;
    state.sortDescending = properties_.sortDesc;
    state.hasEmblem = activeTab_ >= 0 && activeTab_ < state.tabCount &&
                      !tabs_[static_cast<size_t>(activeTab_)].emblem.empty();
    state.rule = properties_.rule;
    if (!facts.cadrelsLocked) {
        state.hostTitles = CollectHostCandidates();
    }
    const std::vector<DarkMenuItem> items = BuildCadrelMenu(state, facts);
    std::wstring ids;
    AppendIds(items, ids);
    DebugLog(L"Menu de cadrel %hs ouvert : %ls", id_.c_str(), ids.c_str());

    int chosen = 0;
    {
        // Pages are not switched nor cadrels destroyed while the menu's loop
        // runs on this thread.
        std::optional<OperationState::Scope> running;
        running.emplace(host_.BeginOperation());
        menuOpen_ = true;
        chosen = ShowDarkMenu(window, items, screen.x, screen.y, static_cast<int>(dpi_));
        menuOpen_ = false;
    }
    if (!window_) {
        return;
    }
    AutoRollUpCheck();
    DebugLog(L"Menu de cadrel %hs : choix %d.", id_.c_str(), chosen);
    if (chosen != 0) {
        RunCadrelMenuCommand(chosen, facts);
    }
}

void Cadrel::RunCadrelMenuCommand(int id, const CadrelMenuFacts& facts)
{
    HWND window = window_.Get();
    const auto post = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        PostMessageW(appWindow_, message, wParam, lParam);
    };
    const auto windowParam = reinterpret_cast<WPARAM>(window);
    if (id >= CadrelCmdTabPresetFirst && id <= CadrelCmdTabPresetLast) {
        post(WM_APP_ADD_TAB_PRESET, windowParam, id - CadrelCmdTabPresetFirst);
    } else if (id == CadrelCmdEmptyCadrel) {
        post(WM_APP_NEW_CADREL_PRESET, 0, 0);
    } else if (id >= CadrelCmdNewCadrelFirst && id <= CadrelCmdNewCadrelLast) {
        post(WM_APP_NEW_CADREL_PRESET, 0, id - CadrelCmdEmptyCadrel);
    } else if (id >= CadrelCmdShapeFirst && id <= CadrelCmdShapeLast) {
        post(WM_APP_NEW_SHAPE_PRESET, 0, id - CadrelCmdShapeFirst);
    } else if (id >= CadrelCmdHostFirst && id <= CadrelCmdHostLast) {
        const auto k = static_cast<size_t>(id - CadrelCmdHostFirst);
        if (k < hostCandidates_.size()) {
            host_.HostInActiveTab(*this, hostCandidates_[k]);
        }
    } else if (id >= CadrelCmdOpacityFirst && id <= CadrelCmdOpacityLast) {
        SetOpacity(OpacityPercents[id - CadrelCmdOpacityFirst] / 100.0, true);
    } else if (id >= CadrelCmdViewFirst && id <= CadrelCmdViewLast) {
        SetViewMode(id - CadrelCmdViewFirst, true);
    } else if (id >= CadrelCmdSortByFirst && id <= CadrelCmdSortByLast) {
        SetSort(id - CadrelCmdSortByFirst, properties_.sortDesc, true);
    } else if (id >= CadrelCmdLanguageFirst && id <= CadrelCmdLanguageLast) {
        post(WM_APP_SET_LANGUAGE, 0, id - CadrelCmdLanguageFirst);
    } else if (id >= CadrelCmdThemeFirst && id <= CadrelCmdThemeLast) {
        post(WM_APP_SET_THEME, 0, id - CadrelCmdThemeFirst);
    } else if ((id >= CadrelCmdRuleEnabled && id <= CadrelCmdRuleOlderThan) ||
               (id >= CadrelCmdRulePresetFirst && id <= CadrelCmdRulePresetLast) ||
               (id >= CadrelCmdRuleLinkFirst && id <= CadrelCmdRuleLinkLast)) {
        RunSortRuleCommand(id);
    } else {
        switch (id) {
        case CadrelCmdUndo:
            post(WM_APP_UNDO, 0, 0);
            break;
        case CadrelCmdRedo:
            post(WM_APP_REDO, 0, 0);
            break;
        case CadrelCmdReleaseHosted:
            host_.ReleaseFromActiveTab(*this);
            Draw();
            Notify(WM_APP_CADREL_TABS_CHANGED, true);
            break;
        case CadrelCmdRehostLast:
            if (facts.rehostWindow != 0) {
                host_.HostInActiveTab(*this, reinterpret_cast<HWND>(facts.rehostWindow));
            }
            break;
        case CadrelCmdFileSearch:
            post(WM_APP_FILE_SEARCH, windowParam, 0);
            break;
        case CadrelCmdRenameTab:
            BeginTabRename();
            break;
        case CadrelCmdCloseTab:
            CloseActiveTab();
            break;
        case CadrelCmdLock:
            SetLocked(!properties_.locked, true);
            break;
        case CadrelCmdPin:
            SetPinned(!properties_.pinned, true);
            break;
        case CadrelCmdUnfoldDown:
            SetUnfoldDirection(UnfoldDown, true);
            break;
        case CadrelCmdUnfoldUp:
            SetUnfoldDirection(1, true);
            break;
        case CadrelCmdUnfoldLeft:
            SetUnfoldDirection(2, true);
            break;
        case CadrelCmdUnfoldRight:
            SetUnfoldDirection(3, true);
            break;
        case CadrelCmdClassifyNone:
            SetClassifyMode(0, true);
            break;
        case CadrelCmdClassifyType:
            SetClassifyMode(1, true);
            break;
        case CadrelCmdClassifyMonth:
            SetClassifyMode(2, true);
            break;
        case CadrelCmdArrangeNow:
            host_.ArrangeCadrelNow(window);
            break;
        case CadrelCmdResetZoom:
            SetZoom(1.0f, true);
            break;
        case CadrelCmdTabIcon:
            OpenTabIconPicker();
            break;
        case CadrelCmdRemoveTabIcon:
            SetTabEmblem(L"", true);
            break;
        case CadrelCmdSortDescending:
            SetSort(properties_.sortBy, !properties_.sortDesc, true);
            break;
        case CadrelCmdRefresh:
            Refresh();
            break;
        case CadrelCmdSettings:
            post(WM_APP_SHOW_SETTINGS, 0, 0);
            break;
        case CadrelCmdClose:
            post(WM_APP_CLOSE_CADREL, windowParam, 0);
            break;
        case CadrelCmdQuit:
            // The policy is asked again: the menu may have been built before
            // a change, and quitting is what it forbids.
            if (!IsQuitLocked()) {
                DebugLog(L"Quitter demande depuis le menu de cadrel.");
                PostQuitMessage(0);
            }
            break;
        default:
            break;
        }
    }
}

void Cadrel::RunSortRuleCommand(int id)
{
    SortRule rule = properties_.rule;
    HWND window = window_.Get();
    const int dpi = static_cast<int>(dpi_);
    // The prompts run their own message loop: a page switch or a reload
    // meanwhile would destroy this cadrel under them.
    const OperationState::Scope prompting = host_.BeginOperation();
    if (id == CadrelCmdRuleEnabled) {
        rule.enabled = !rule.enabled;
    } else if (id == CadrelCmdRulePresetLast) {
        std::wstring exts = rule.exts;
        if (!ShowTextPrompt(window, Tr(ExtensionPresetPromptId), exts, dpi)) {
            return;
        }
        rule.exts = exts;
    } else if (id >= CadrelCmdRulePresetFirst && id < CadrelCmdRulePresetLast) {
        rule.exts = ExtensionPresets()[static_cast<size_t>(id - CadrelCmdRulePresetFirst)].exts;
    } else if (id == CadrelCmdRuleNamePattern) {
        std::wstring pattern = rule.name;
        if (!ShowTextPrompt(window, Tr(TextId::NamePattern), pattern, dpi)) {
            return;
        }
        rule.name = pattern;
    } else if (id == CadrelCmdRuleOlderThan) {
        std::wstring days = rule.olderDays > 0 ? std::to_wstring(rule.olderDays) : std::wstring();
        if (!ShowTextPrompt(window, Tr(TextId::OlderThan), days, dpi)) {
            return;
        }
        rule.olderDays = DaysFromText(days);
    } else if (id >= CadrelCmdRuleLinkFirst && id <= CadrelCmdRuleLinkLast) {
        rule.link = id - CadrelCmdRuleLinkFirst;
    }
    if (!window_) {
        return;
    }
    if (id != CadrelCmdRuleSortNow) {
        SetSortRule(rule, true);
    }
    PostMessageW(appWindow_, WM_APP_SORT_SOON, 0, 0);
}

void Cadrel::OpenTabIconPicker()
{
    if (activeTab_ < 0 || activeTab_ >= static_cast<int>(tabs_.size())) {
        return;
    }
    if (!iconPicker_) {
        iconPicker_ =
            std::make_unique<IconPicker>(graphicsDevice_, appWindow_, [this] { return host_.BeginOperation(); });
    }
    iconPicker_->Open(window_.Get(), dpi_, tabs_[static_cast<size_t>(activeTab_)].emblem,
                      [this](const std::wstring& key) { SetTabEmblem(key, true); });
}

void Cadrel::SetTabEmblem(const std::wstring& key, bool notify)
{
    if (activeTab_ >= 0 && activeTab_ < static_cast<int>(tabs_.size())) {
        tabs_[static_cast<size_t>(activeTab_)].emblem = key;
        DebugLog(L"Cadrel %hs : embleme de l'onglet %d = \"%ls\".", id_.c_str(), activeTab_, key.c_str());
    }
    Draw();
    Notify(WM_APP_CADREL_TABS_CHANGED, notify);
}

}  // namespace cadrels
