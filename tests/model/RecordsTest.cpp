#include "model/Records.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(Records, SettingsDefaultsAreTheLayoutFileDefaults)
{
    const Settings s;
    EXPECT_EQ(s.version, 2);
    EXPECT_EQ(s.language, 0);
    EXPECT_EQ(s.theme, 0);
    EXPECT_TRUE(s.snap);
    EXPECT_EQ(s.grid, 0);
    EXPECT_EQ(s.accent, 0u);
    EXPECT_EQ(s.cadrelBg, 0u);
    EXPECT_TRUE(s.dblClickHide);
    EXPECT_FALSE(s.showDock);
    EXPECT_FALSE(s.containersClaimed);
    EXPECT_TRUE(s.dock.empty());
    EXPECT_TRUE(s.dockIcons.empty());
    EXPECT_EQ(s.activeWorkspace, 0);
    EXPECT_TRUE(s.watchFolders.empty());
    EXPECT_TRUE(s.hotkeys.empty());
    EXPECT_FALSE(s.backupEnabled);
    EXPECT_TRUE(s.backupFolder.empty());
    EXPECT_EQ(s.backupFreq, 1);
    EXPECT_EQ(s.backupKeep, 10);
    EXPECT_EQ(s.backupLast, 0.0);
    EXPECT_FALSE(s.backupCloud);
    EXPECT_TRUE(s.snapApps.empty());
    EXPECT_TRUE(s.workspaces.empty()) << "a default Settings has no page";
}

TEST(Records, CadrelRecordAndTabDefaults)
{
    const CadrelRecord r;
    EXPECT_TRUE(r.id.empty());
    EXPECT_DOUBLE_EQ(r.opacity, 0.62);
    EXPECT_EQ(r.tint, 0u);
    EXPECT_EQ(r.caccent, 0u);
    EXPECT_EQ(r.active, 0);
    EXPECT_FALSE(r.pinned);
    EXPECT_FALSE(r.locked);
    EXPECT_EQ(r.classifyMode, 0);
    EXPECT_EQ(r.expandDir, 0);
    EXPECT_EQ(r.sortBy, 0);
    EXPECT_FALSE(r.sortDesc);
    EXPECT_EQ(r.viewMode, 0);
    for (float zoom : r.density) {
        EXPECT_FLOAT_EQ(zoom, 1.0f);
    }
    EXPECT_EQ(r.rule, SortRule{});
    EXPECT_TRUE(r.tabs.empty());

    const CadrelTab t;
    EXPECT_TRUE(t.title.empty() && t.folder.empty() && t.pinned.empty() && t.emblem.empty());
    EXPECT_TRUE(t.hostedExe.empty() && t.hostedAumid.empty() && t.hostedTitle.empty());
    EXPECT_FALSE(t.titleAuto);
}

TEST(Records, GeometryRuleConditionPageAndSnapDefaults)
{
    const CadrelGeom g;
    EXPECT_TRUE(g.monitor.empty());
    EXPECT_DOUBLE_EQ(g.x, 0.1);
    EXPECT_DOUBLE_EQ(g.y, 0.1);
    EXPECT_DOUBLE_EQ(g.w, 0.25);
    EXPECT_DOUBLE_EQ(g.h, 0.4);
    EXPECT_FALSE(g.rolled);

    const SortRule rule;
    EXPECT_FALSE(rule.enabled);
    EXPECT_TRUE(rule.exts.empty() && rule.name.empty() && rule.groups.empty());
    EXPECT_EQ(rule.olderDays, 0);
    EXPECT_EQ(rule.link, 0);
    EXPECT_EQ(rule.priority, 0);

    const RuleCondition condition;
    EXPECT_EQ(condition.k, 0);
    EXPECT_EQ(condition.op, 0);
    EXPECT_TRUE(condition.t.empty());
    EXPECT_EQ(condition.n, 0);

    const Workspace page;
    EXPECT_TRUE(page.id.empty() && page.name.empty() && page.cadrels.empty() && page.layouts.empty());
    EXPECT_FALSE(page.layoutLocked);

    const SnapAppEntry snap;
    EXPECT_TRUE(snap.exe.empty());
    EXPECT_EQ(snap.layout, 0);
    EXPECT_EQ(snap.region, 0);
    EXPECT_FALSE(snap.anchored);

    const HotkeyBinding binding;
    EXPECT_EQ(binding.modifiers, 0);
    EXPECT_EQ(binding.virtualKey, 0);
}

TEST(Records, CopiesAreIndependentValues)
{
    Settings original;
    Workspace page;
    page.id = "{P}";
    CadrelRecord record;
    record.id = "{C}";
    record.tabs.push_back(CadrelTab{L"Travail", L"C:\\Travail"});
    page.cadrels.push_back(record);
    page.layouts["key"]["{C}"] = CadrelGeom{"mon", 0.2, 0.3, 0.4, 0.5, true};
    original.workspaces.push_back(page);

    Settings copy = original;
    EXPECT_EQ(copy, original);
    copy.workspaces[0].cadrels[0].tabs[0].title = L"Autre";
    copy.workspaces[0].layouts["key"]["{C}"].rolled = false;
    EXPECT_EQ(original.workspaces[0].cadrels[0].tabs[0].title, L"Travail");
    EXPECT_TRUE(original.workspaces[0].layouts["key"]["{C}"].rolled);
    EXPECT_NE(copy, original);
}

}  // namespace
}  // namespace cadrels
