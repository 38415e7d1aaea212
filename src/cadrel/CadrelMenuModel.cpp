#include "cadrel/CadrelMenuModel.h"

#include "i18n/StringTable.h"
#include "sorting/RuleTexts.h"

#include <cmath>
#include <cstdlib>
#include <algorithm>

namespace cadrels {
namespace {

DarkMenuItem Entry(std::wstring label, int id)
{
    DarkMenuItem item;
    item.label = std::move(label);
    item.id = id;
    return item;
}

DarkMenuItem Radio(std::wstring label, int id, bool on)
{
    DarkMenuItem item = Entry(std::move(label), id);
    item.radio = on;
    return item;
}

DarkMenuItem Check(std::wstring label, int id, bool on)
{
    DarkMenuItem item = Entry(std::move(label), id);
    item.checked = on;
    return item;
}

DarkMenuItem Submenu(std::wstring label, std::vector<DarkMenuItem> children)
{
    DarkMenuItem item = Entry(std::move(label), 0);
    item.children = std::move(children);
    return item;
}

std::wstring WithHotkey(std::wstring text, const std::wstring& hotkey)
{
    if (!hotkey.empty()) {
        text += L"   " + hotkey;
    }
    return text;
}

DarkMenuItem NewCadrelSubmenu()
{
    std::vector<DarkMenuItem> shapes;
    for (int i = 0; i < 6; ++i) {
        shapes.push_back(Entry(Tr(TextAt(TextId::ShapeFrame, i)), CadrelCmdShapeFirst + i));
    }
    std::vector<DarkMenuItem> children;
    children.push_back(Entry(Tr(TextId::EmptyCadrel), CadrelCmdEmptyCadrel));
    children.push_back(Submenu(Tr(TextId::NewShape), std::move(shapes)));
    children.push_back(DarkMenuItem::Separator());
    for (int i = 0; i < 3; ++i) {
        children.push_back(Entry(Tr(TextAt(TextId::Desktop, i)), CadrelCmdNewCadrelFirst + i));
    }
    children.push_back(DarkMenuItem::Separator());
    children.push_back(Entry(Tr(TextId::FolderPick), CadrelCmdNewCadrelLast));
    return Submenu(Tr(TextId::NewCadrel), std::move(children));
}

DarkMenuItem NewTabSubmenu()
{
    std::vector<DarkMenuItem> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(Entry(Tr(TextAt(TextId::EmptyTab, i)), CadrelCmdTabPresetFirst + i));
    }
    children.push_back(DarkMenuItem::Separator());
    children.push_back(Entry(Tr(TextId::FolderPick), CadrelCmdTabPresetLast));
    return Submenu(Tr(TextId::NewTab), std::move(children));
}

DarkMenuItem HostingSubmenu(const std::vector<std::wstring>& titles)
{
    std::vector<DarkMenuItem> children;
    for (size_t k = 0; k < titles.size() && k < MaxHostCandidates; ++k) {
        children.push_back(Entry(titles[k], CadrelCmdHostFirst + static_cast<int>(k)));
    }
    if (children.empty()) {
        DarkMenuItem none = Entry(Tr(TextId::NoOpenWindow), 0);
        none.enabled = false;
        children.push_back(std::move(none));
    }
    return Submenu(Tr(TextId::HostApplicationMenu), std::move(children));
}

DarkMenuItem UnfoldSubmenu(int direction)
{
    const int ids[4] = {CadrelCmdUnfoldDown, CadrelCmdUnfoldUp, CadrelCmdUnfoldLeft, CadrelCmdUnfoldRight};
    std::vector<DarkMenuItem> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(Radio(Tr(TextAt(TextId::Downward, i)), ids[i], direction == i));
    }
    return Submenu(Tr(TextId::UnfoldDirection), std::move(children));
}

DarkMenuItem ClassifySubmenu(int mode)
{
    std::vector<DarkMenuItem> children;
    for (int i = 0; i < 3; ++i) {
        children.push_back(Radio(Tr(TextAt(TextId::ClassifyNone, i)), CadrelCmdClassifyNone + i, mode == i));
    }
    children.push_back(DarkMenuItem::Separator());
    DarkMenuItem now = Entry(Tr(TextId::ArrangeNow), CadrelCmdArrangeNow);
    now.enabled = mode != 0;
    children.push_back(std::move(now));
    return Submenu(Tr(TextId::AutoSort), std::move(children));
}

DarkMenuItem OpacitySubmenu(double opacity)
{
    std::vector<DarkMenuItem> children;
    for (int i = 0; i < 10; ++i) {
        const int percent = OpacityPercents[i];
        const std::wstring text = percent == 100 ? L"100 % (" + std::wstring(Tr(TextId::OpaqueWord)) + L")"
                                                 : std::to_wstring(percent) + L" %";
        children.push_back(Radio(text, CadrelCmdOpacityFirst + i, OpacityEntryMarked(percent, opacity)));
    }
    return Submenu(Tr(TextId::Opacity), std::move(children));
}

DarkMenuItem ViewSubmenu(int viewMode)
{
    std::vector<DarkMenuItem> children;
    for (int i = 0; i < 3; ++i) {
        children.push_back(Radio(Tr(TextAt(TextId::IconGrid, i)), CadrelCmdViewFirst + i, viewMode == i));
    }
    children.push_back(DarkMenuItem::Separator());
    children.push_back(Entry(Tr(TextId::ResetZoom), CadrelCmdResetZoom));
    return Submenu(Tr(TextId::View), std::move(children));
}

DarkMenuItem SortBySubmenu(int sortBy, bool descending)
{
    std::vector<DarkMenuItem> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(Radio(Tr(TextAt(TextId::SortByName, i)), CadrelCmdSortByFirst + i, sortBy == i));
    }
    children.push_back(DarkMenuItem::Separator());
    children.push_back(Check(Tr(TextId::SortDescending), CadrelCmdSortDescending, descending));
    return Submenu(Tr(TextId::SortBy), std::move(children));
}

DarkMenuItem LanguageSubmenu(int language)
{
    std::vector<DarkMenuItem> children;
    for (int i = 0; i <= CadrelCmdLanguageLast - CadrelCmdLanguageFirst; ++i) {
        children.push_back(Radio(LanguageName(i), CadrelCmdLanguageFirst + i, language == i));
    }
    return Submenu(Tr(TextId::Language), std::move(children));
}

DarkMenuItem ThemeSubmenu(int theme)
{
    std::vector<DarkMenuItem> children;
    for (int i = 0; i < 3; ++i) {
        children.push_back(Radio(Tr(TextAt(TextId::ThemeSystem, i)), CadrelCmdThemeFirst + i, theme == i));
    }
    return Submenu(Tr(TextId::Theme), std::move(children));
}

DarkMenuItem SortRuleSubmenu(const SortRule& rule)
{
    std::vector<DarkMenuItem> children;
    children.push_back(Check(Tr(TextId::Enabled), CadrelCmdRuleEnabled, rule.enabled));
    children.push_back(DarkMenuItem::Separator());
    const int current = PresetIndexForExts(rule.exts);
    const auto& presets = ExtensionPresets();
    for (int i = 0; i < static_cast<int>(presets.size()); ++i) {
        children.push_back(Radio(Tr(presets[static_cast<size_t>(i)].labelId), CadrelCmdRulePresetFirst + i,
                                 current == i));
    }
    children.push_back(DarkMenuItem::Separator());
    std::wstring pattern = Tr(TextId::NamePattern);
    if (!rule.name.empty()) {
        pattern += L"  (" + rule.name + L")";
    }
    children.push_back(Check(std::move(pattern), CadrelCmdRuleNamePattern, !rule.name.empty()));
    std::wstring older = Tr(TextId::OlderThan);
    if (rule.olderDays > 0) {
        older += TrFormat(TextId::AgeDaysSuffix, rule.olderDays);
    }
    children.push_back(Check(std::move(older), CadrelCmdRuleOlderThan, rule.olderDays > 0));
    std::vector<DarkMenuItem> links;
    links.push_back(Radio(Tr(TextId::RuleLinkNone), CadrelCmdRuleLinkFirst, rule.link == 0));
    links.push_back(Radio(Tr(TextId::Executables), CadrelCmdRuleLinkFirst + 1, rule.link == 1));
    links.push_back(Radio(Tr(TextId::ConditionFolder), CadrelCmdRuleLinkFirst + 2, rule.link == 2));
    links.push_back(Radio(L"URL", CadrelCmdRuleLinkLast, rule.link == 3));
    children.push_back(Submenu(Tr(TextId::ShortcutTarget), std::move(links)));
    children.push_back(DarkMenuItem::Separator());
    children.push_back(Entry(Tr(TextId::RuleSortNow), CadrelCmdRuleSortNow));
    return Submenu(Tr(TextId::SortRule), std::move(children));
}

}  // namespace

bool OpacityEntryMarked(int percent, double opacity)
{
    const long value = std::lround(opacity * 100.0);
    return std::labs(static_cast<long>(percent) - value) < 4;
}

std::wstring HostMenuTitle(const std::wstring& title)
{
    if (title.size() <= MaxHostTitleLength) {
        return title;
    }
    return title.substr(0, MaxHostTitleLength - 1) + L"…";
}

std::vector<HostWindowFacts> HostCandidates(const std::vector<HostWindowFacts>& windows)
{
    std::vector<HostWindowFacts> collected;
    for (const HostWindowFacts& window : windows) {
        if (collected.size() >= MaxHostCandidates) {
            break;
        }
        if (window.candidate && !window.title.empty()) {
            collected.push_back(window);
        }
    }
    std::erase_if(collected, [](const HostWindowFacts& window) { return window.hostedElsewhere; });
    return collected;
}

int DaysFromText(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    bool any = false;
    while (i < text.size() && text[i] >= L'0' && text[i] <= L'9') {
        any = true;
        // An absurd number of days is as good as the largest one.
        value = std::min<long long>(value * 10 + (text[i] - L'0'), 100000000);
        ++i;
    }
    if (!any || negative) {
        return 0;
    }
    return static_cast<int>(value);
}

std::vector<DarkMenuItem> BuildCadrelMenu(const CadrelMenuState& state, const CadrelMenuFacts& facts)
{
    const bool locked = facts.cadrelsLocked;
    std::vector<DarkMenuItem> menu;

    DarkMenuItem undo = Entry(
        WithHotkey(facts.undoText.empty() ? Tr(TextId::NothingUndo) : facts.undoText, facts.undoHotkey), CadrelCmdUndo);
    // Undoing moves files in and out of frozen cadrels.
    undo.enabled = facts.canUndo && !locked;
    menu.push_back(std::move(undo));
    DarkMenuItem redo = Entry(
        WithHotkey(facts.redoText.empty() ? Tr(TextId::NothingRedo) : facts.redoText, facts.redoHotkey), CadrelCmdRedo);
    redo.enabled = facts.canRedo && !locked;
    menu.push_back(std::move(redo));
    menu.push_back(DarkMenuItem::Separator());

    if (!locked) {
        menu.push_back(NewCadrelSubmenu());
        menu.push_back(NewTabSubmenu());
        if (facts.activeTabHosts) {
            menu.push_back(Entry(Tr(TextId::ReleaseHostedWindow), CadrelCmdReleaseHosted));
        }
        menu.push_back(HostingSubmenu(state.hostTitles));
        if (facts.canRehost) {
            menu.push_back(Entry(Tr(TextId::RehostLastWindow), CadrelCmdRehostLast));
        }
        menu.push_back(DarkMenuItem::Separator());
    }

    std::wstring search = Tr(TextId::SearchFileMenu);
    if (!facts.searchHotkey.empty()) {
        search += L" (" + facts.searchHotkey + L")";
    }
    menu.push_back(Entry(std::move(search), CadrelCmdFileSearch));
    menu.push_back(DarkMenuItem::Separator());

    if (!locked) {
        menu.push_back(Entry(Tr(TextId::RenameTab), CadrelCmdRenameTab));
        if (state.tabCount >= 2) {
            menu.push_back(Entry(Tr(TextId::CloseTab), CadrelCmdCloseTab));
        }
        menu.push_back(DarkMenuItem::Separator());
        menu.push_back(Check(Tr(TextId::LockDontMove), CadrelCmdLock, state.locked));
        menu.push_back(Check(Tr(TextId::PinKeepOpen), CadrelCmdPin, state.pinned));
        menu.push_back(UnfoldSubmenu(state.unfoldDirection));
        menu.push_back(ClassifySubmenu(state.classifyMode));
    }
    if (!facts.appearanceHidden && !facts.opacityForced) {
        menu.push_back(OpacitySubmenu(state.opacity));
    }
    if (!facts.appearanceHidden && !facts.viewForced) {
        menu.push_back(ViewSubmenu(state.viewMode));
    }
    if (!locked) {
        menu.push_back(Entry(Tr(TextId::TabIcon), CadrelCmdTabIcon));
        if (state.hasEmblem) {
            menu.push_back(Entry(Tr(TextId::RemoveIcon), CadrelCmdRemoveTabIcon));
        }
    }
    if (!facts.sortingHidden) {
        menu.push_back(SortBySubmenu(state.sortBy, state.sortDescending));
    }
    if (!facts.languageHidden && !facts.languageForced) {
        menu.push_back(LanguageSubmenu(facts.language));
    }
    if (!facts.appearanceHidden && !facts.themeForced) {
        menu.push_back(ThemeSubmenu(facts.theme));
    }
    if (!facts.sortingHidden) {
        menu.push_back(SortRuleSubmenu(state.rule));
    }
    menu.push_back(Entry(Tr(TextId::Refresh), CadrelCmdRefresh));
    menu.push_back(DarkMenuItem::Separator());
    menu.push_back(Entry(Tr(TextId::ConfigureCadrels), CadrelCmdSettings));
    if (!locked) {
        menu.push_back(Entry(Tr(TextId::CloseCadrel), CadrelCmdClose));
    }
    if (!facts.quitLocked) {
        menu.push_back(Entry(Tr(TextId::Quit), CadrelCmdQuit));
    }
    return menu;
}

}  // namespace cadrels
