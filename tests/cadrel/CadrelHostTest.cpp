// A real cadrel window with a fake application behind it: what the cadrel
// asks of its host, and what it does with the answers.
#include "cadrel/Cadrel.h"

#include "FileDrag.h"
#include "TestFiles.h"

#include "base/RectConversion.h"
#include "cadrel/CadrelDropTarget.h"
#include "cadrel/FolderLister.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <atomic>
#include <optional>

#include <memory>
#include <string>
#include <vector>

namespace cadrels {
namespace {

using testing::MakeTempFolder;
using testing::RemoveTree;
using testing::WriteBytes;
using testing::RecordingDataObject;
using testing::RecordingFilesDataObject;

class FakeHost final : public CadrelHost {
public:
    struct Drop {
        const Cadrel* target = nullptr;
        std::vector<std::wstring> paths;
        bool move = false;
        std::wstring folder;
    };

    bool PolicyLocksCadrels() const override { return cadrelsLocked; }
    bool PolicyLocksZoom() const override { return zoomLocked; }
    int DropIntoFolder(const Cadrel& target, const std::vector<std::wstring>& paths, bool move,
                       const std::wstring& folder) override
    {
        drops.push_back({&target, paths, move, folder});
        return arrived;
    }
    OperationState::Scope BeginOperation() override { return operation.Begin(); }
    bool OperationRunning() const override { return operation.Running(); }
    void TabTornOff(std::unique_ptr<TornTab> tab) override { torn.push_back(std::move(tab)); }
    std::vector<RECT> NeighbourRects(const Cadrel&) const override { return {}; }
    HostedAppsStore* HostedApps() override { return nullptr; }
    std::vector<HWND> HostedEverywhere() const override { return {}; }
    CadrelMenuFacts FactsForMenus() const override { return {}; }
    bool HostedElsewhere(HWND) const override { return false; }
    void HostInActiveTab(Cadrel&, HWND) override {}
    void ReleaseFromActiveTab(Cadrel&) override {}
    void ArrangeCadrelNow(HWND) override {}
    void RecordMoves(UndoEntry) override {}
    IconCache* IconsForCadrels() override { return nullptr; }

    bool cadrelsLocked = false;
    bool zoomLocked = false;
    int arrived = 0;
    std::vector<Drop> drops;
    std::vector<std::unique_ptr<TornTab>> torn;
    OperationState operation;
};

class CadrelHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The shell's data objects and the cadrel's drop target want OLE.
        OleInitialize(nullptr);
        first_ = MakeTempFolder(L"host-first");
        second_ = MakeTempFolder(L"host-second");
        ASSERT_FALSE(first_.empty());
        ASSERT_FALSE(second_.empty());
        ASSERT_TRUE(WriteBytes(first_ + L"\\one.txt", "1"));
        device_.Create();
        owner_ = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);

        CadrelRecord record;
        record.id = "host-test";
        std::vector<LiveTab> tabs(3);
        tabs[0].title = L"First";
        tabs[0].folder = first_;
        tabs[1].title = L"Second";
        tabs[1].folder = second_;
        tabs[2].title = L"No folder";
        cadrel_ = std::make_unique<Cadrel>(device_, owner_, host_);
        ASSERT_TRUE(cadrel_->Create(GetModuleHandleW(nullptr), record, std::move(tabs), 0, 40, 40, 360, 420));
        cadrel_->FinishBuilding();
        ASSERT_TRUE(WaitListed());
    }
    void TearDown() override
    {
        if (cadrel_) {
            cadrel_->Destroy();
        }
        if (owner_ != nullptr) {
            DestroyWindow(owner_);
        }
        RemoveTree(first_);
        RemoveTree(second_);
        OleUninitialize();
    }

    // Lets the listing worker answer; false when it never does.
    bool WaitListed() const
    {
        const ULONGLONG giveUp = GetTickCount64() + 10000;
        while (GetTickCount64() < giveUp) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            if (cadrel_->Content().Listed() && !cadrel_->Content().ListingWaiting()) {
                return true;
            }
            Sleep(10);
        }
        return false;
    }

    float Zoom() const
    {
        CadrelRecord record;
        cadrel_->CopyPropertiesTo(record);
        return record.density[static_cast<size_t>(record.viewMode)];
    }
    void CtrlWheel(int notches) const
    {
        SendMessageW(cadrel_->Window(), WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(notches * WHEEL_DELTA)),
                     MAKELPARAM(100, 100));
    }

    std::wstring first_;
    std::wstring second_;
    GraphicsDevice device_;
    HWND owner_ = nullptr;
    FakeHost host_;
    std::unique_ptr<Cadrel> cadrel_;
};

TEST_F(CadrelHostTest, DropsGoToTheHostWithTheFolderTheyLandOn)
{
    host_.arrived = 2;
    const std::vector<std::wstring> paths{L"C:\\x\\a.txt", L"C:\\x\\b.txt"};
    EXPECT_EQ(cadrel_->ReceiveDrop(paths, true, 1), 2);
    // A tab without a folder, or none, files into the active tab's folder.
    EXPECT_EQ(cadrel_->ReceiveDrop(paths, false, 2), 2);
    EXPECT_EQ(cadrel_->ReceiveDrop(paths, false, -1), 2);
    ASSERT_EQ(host_.drops.size(), 3u);
    EXPECT_EQ(host_.drops[0].target, cadrel_.get());
    EXPECT_EQ(host_.drops[0].paths, paths);
    EXPECT_TRUE(host_.drops[0].move);
    EXPECT_EQ(host_.drops[0].folder, second_);
    EXPECT_FALSE(host_.drops[1].move);
    EXPECT_EQ(host_.drops[1].folder, first_);
    EXPECT_EQ(host_.drops[2].folder, first_);

    // Nothing dropped asks nothing.
    EXPECT_EQ(cadrel_->ReceiveDrop({}, true, 1), 0);
    EXPECT_EQ(host_.drops.size(), 3u);
    // The host's answer is what the cadrel reports.
    host_.arrived = 0;
    EXPECT_EQ(cadrel_->ReceiveDrop(paths, true, 0), 0);
}

// The rename box knows its tab by position; a tab moved or closed under it
// must not hand the typed title to whichever tab took that position.
TEST_F(CadrelHostTest, MovingOrClosingTabsCancelsAnOpenTabRename)
{
    const auto titles = [this] {
        std::vector<std::wstring> result;
        for (const LiveTab& tab : cadrel_->Tabs()) {
            result.push_back(tab.title);
        }
        return result;
    };
    const auto renameActiveTabTo = [this](const wchar_t* text) {
        cadrel_->BeginTabRename();
        ASSERT_TRUE(cadrel_->RenameOpen());
        SetWindowTextW(cadrel_->RenameEdit(), text);
    };

    renameActiveTabTo(L"Typed");
    cadrel_->MoveTab(0, 2);
    EXPECT_FALSE(cadrel_->RenameOpen());
    cadrel_->CommitRename();
    EXPECT_EQ(titles(), (std::vector<std::wstring>{L"Second", L"No folder", L"First"}));

    // The active tab followed its move; closing another tab shifts it back.
    ASSERT_EQ(cadrel_->ActiveTab(), 2);
    renameActiveTabTo(L"Typed");
    cadrel_->CloseTab(0, false);
    EXPECT_FALSE(cadrel_->RenameOpen());
    cadrel_->CommitRename();
    EXPECT_EQ(titles(), (std::vector<std::wstring>{L"No folder", L"First"}));

    // Without a change of tabs the box still renames its tab.
    renameActiveTabTo(L"Typed");
    cadrel_->CommitRename();
    EXPECT_EQ(titles(), (std::vector<std::wstring>{L"No folder", L"Typed"}));
}

// The drop target on a data object in this process, where what it sets on
// the data object can be read back.
TEST_F(CadrelHostTest, ADropAnswersAMoveOnlyWhenEveryFileArrivedAndTellsTheSourceItMovedThem)
{
    ASSERT_TRUE(WriteBytes(second_ + L"\\a.txt", "a"));
    ASSERT_TRUE(WriteBytes(second_ + L"\\b.txt", "b"));
    Microsoft::WRL::ComPtr<CadrelDropTarget> target;
    AdoptComObject(target, new CadrelDropTarget(*cadrel_));
    const PixelRect rect = ToPixelRect([&] {
        RECT r{};
        GetWindowRect(cadrel_->Window(), &r);
        return r;
    }());
    const POINTL over{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    struct Dropped {
        DWORD effect = DROPEFFECT_NONE;
        Microsoft::WRL::ComPtr<RecordingDataObject> data;
    };
    const auto drop = [&](int arrived, DWORD keys) {
        host_.arrived = arrived;
        Dropped result;
        result.data = RecordingFilesDataObject(second_, {L"a.txt", L"b.txt"});
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(result.data.Get(), keys, over, &effect);
        result.effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->Drop(result.data.Get(), keys, over, &result.effect);
        return result;
    };

    const Dropped all = drop(2, 0);
    EXPECT_EQ(all.effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(all.data->SetValue(CFSTR_PERFORMEDDROPEFFECT), std::optional<DWORD>(DROPEFFECT_NONE))
        << "the target moved the files: nothing is left for the source to delete";
    EXPECT_EQ(all.data->SetValue(CFSTR_LOGICALPERFORMEDDROPEFFECT), std::optional<DWORD>(DROPEFFECT_MOVE));

    // One of the two refused: a source that reads only the answer keeps it.
    const Dropped partial = drop(1, 0);
    EXPECT_EQ(partial.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(partial.data->SetValue(CFSTR_PERFORMEDDROPEFFECT), std::optional<DWORD>(DROPEFFECT_NONE));

    const Dropped none = drop(0, 0);
    EXPECT_EQ(none.effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_FALSE(none.data->SetValue(CFSTR_PERFORMEDDROPEFFECT).has_value()) << "nothing moved, nothing to say";

    // A copy (Ctrl) leaves the originals to the source.
    const Dropped copied = drop(2, MK_CONTROL);
    EXPECT_EQ(copied.effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_FALSE(copied.data->SetValue(CFSTR_PERFORMEDDROPEFFECT).has_value());
    EXPECT_FALSE(host_.drops.back().move);

    // While a prompt or a file operation runs, nothing is taken.
    const size_t asked = host_.drops.size();
    {
        const OperationState::Scope running = host_.operation.Begin();
        const Dropped refused = drop(2, 0);
        EXPECT_EQ(refused.effect, static_cast<DWORD>(DROPEFFECT_NONE));
    }
    EXPECT_EQ(host_.drops.size(), asked) << "the host was not asked to move anything";
    target->Detach();
}

// Another program writes into the shown folder without a pause (a log file):
// the cadrel still lists the folder while the writes go on, and what the
// user selected stays selected.
TEST_F(CadrelHostTest, AFolderWrittenToWithoutPauseIsListedMeanwhileAndKeepsTheSelection)
{
    const std::wstring two = first_ + L"\\two.txt";
    ASSERT_TRUE(WriteBytes(two, "2"));
    cadrel_->Refresh();
    ASSERT_TRUE(WaitListed());
    ASSERT_EQ(cadrel_->Items().size(), 2u);
    const LayoutRect cell = cadrel_->HitMap().ItemRect(cadrel_->Content().IndexOfPath(two));
    const LPARAM at = MAKELPARAM(static_cast<int>((cell.left + cell.right) / 2), static_cast<int>((cell.top + cell.bottom) / 2));
    SendMessageW(cadrel_->Window(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(cadrel_->Window(), WM_LBUTTONUP, 0, at);
    ASSERT_EQ(cadrel_->Content().SelectedPaths(), std::vector<std::wstring>{two});

    const std::wstring log = first_ + L"\\log.txt";
    const ULONGLONG giveUp = GetTickCount64() + 10000;
    bool listed = false;
    for (size_t bytes = 1; !listed && GetTickCount64() < giveUp; ++bytes) {
        ASSERT_TRUE(WriteBytes(log, std::string(bytes, 'x')));
        const ULONGLONG next = GetTickCount64() + 100;
        while (GetTickCount64() < next) {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
            Sleep(10);
        }
        listed = cadrel_->Content().IndexOfPath(log) >= 0;
    }
    EXPECT_TRUE(listed) << "the writes never paused, and the folder was never listed";
    EXPECT_EQ(cadrel_->Content().SelectedPaths(), std::vector<std::wstring>{two});
}

// A tab on a share that stopped answering: the window goes on answering,
// another tab lists at once, and the late answer never replaces it.
TEST_F(CadrelHostTest, AFolderThatDoesNotAnswerHoldsUpNeitherTheWindowNorTheNextTab)
{
    ASSERT_TRUE(WriteBytes(second_ + L"\\second.txt", "2"));
    UniqueHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const HANDLE releaseEvent = release.Get();
    auto hanging = std::make_shared<std::atomic<bool>>(false);
    FolderLister::SetFaultForTests([releaseEvent, hanging](std::size_t) -> DWORD {
        *hanging = true;
        WaitForSingleObject(releaseEvent, 20000);
        *hanging = false;
        return 0;
    });
    cadrel_->Refresh();
    FolderLister::SetFaultForTests(nullptr);
    const ULONGLONG giveUp = GetTickCount64() + 5000;
    while (!*hanging && GetTickCount64() < giveUp) {
        Sleep(10);
    }
    ASSERT_TRUE(*hanging) << "the listing never reached its enumeration";
    EXPECT_EQ(cadrel_->Items().size(), 1u) << "what was shown stays until the folder answers";

    cadrel_->CloseTab(0, false);  // the second tab becomes the active one
    ASSERT_TRUE(WaitListed());
    EXPECT_TRUE(*hanging) << "the second tab listed while the first folder still hung";
    ASSERT_EQ(cadrel_->Items().size(), 1u);
    EXPECT_EQ(cadrel_->Items()[0].name, L"second.txt");

    SetEvent(releaseEvent);
    const ULONGLONG settle = GetTickCount64() + 500;
    while (*hanging || GetTickCount64() < settle) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
    ASSERT_EQ(cadrel_->Items().size(), 1u);
    EXPECT_EQ(cadrel_->Items()[0].name, L"second.txt") << "the first folder's late answer was dropped";
}

TEST_F(CadrelHostTest, CtrlWheelZoomsUnlessTheHostSaysThePolicyLocksIt)
{
    const float before = Zoom();
    host_.zoomLocked = true;
    CtrlWheel(2);
    EXPECT_FLOAT_EQ(Zoom(), before);

    host_.zoomLocked = false;
    CtrlWheel(2);
    EXPECT_FLOAT_EQ(Zoom(), before + 0.2f);
}

}  // namespace
}  // namespace cadrels
