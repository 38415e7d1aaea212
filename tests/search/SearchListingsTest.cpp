// The kept listings against a plain scan of the same folders: the same
// results in the same order for every query, before and after the folders
// change under a running watcher.
#include "TestFiles.h"

#include "search/SearchListings.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cadrels {
namespace {

constexpr UINT Listed = WM_APP + 1;
constexpr UINT Changed = WM_APP + 2;

// Every entry but "." and "..", in the order the file system returns them.
std::vector<SearchEntry> ScanFolder(const std::wstring& folder)
{
    std::vector<SearchEntry> entries;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return entries;
    }
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..") {
            entries.push_back(MakeSearchEntry(folder + L"\\" + name));
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return entries;
}

struct Receiver {
    SearchListings* listings = nullptr;
    int changes = 0;
};

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* receiver = reinterpret_cast<Receiver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (receiver != nullptr && message == Listed) {
        receiver->listings->TakeListed();
        return 0;
    }
    if (receiver != nullptr && message == Changed) {
        ++receiver->changes;
        receiver->listings->OnFoldersChanged();
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Pump(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        if (done()) {
            return true;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

class SearchListingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = testing::MakeTempFolder(L"search-listings");
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ReceiverProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"SearchListingsTestReceiver";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
        ASSERT_NE(window_, nullptr);
        receiver_.listings = &listings_;
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&receiver_));
    }
    void TearDown() override
    {
        listings_.StopWatching();
        DestroyWindow(window_);
        testing::RemoveTree(root_);
    }

    std::wstring Folder(const wchar_t* name, int files, const wchar_t* stem)
    {
        const std::wstring folder = root_ + L"\\" + name;
        CreateDirectoryW(folder.c_str(), nullptr);
        for (int i = 0; i < files; ++i) {
            testing::WriteBytes(folder + L"\\" + stem + std::to_wstring(i * 7919 % 1000) + L".txt", "x");
        }
        return folder;
    }

    // Both ways over the same plan, for each query.
    void ExpectSameAsScan(const std::vector<SearchFolder>& plan, const std::vector<std::wstring>& queries)
    {
        std::map<std::wstring, std::vector<SearchEntry>> scanned;
        for (const SearchFolder& folder : plan) {
            scanned[folder.folder] = ScanFolder(folder.folder);
        }
        for (const std::wstring& query : queries) {
            const SearchOutcome kept = CollectResults(plan, FoldCase(query),
                                                      [&](const std::wstring& f) { return listings_.Entries(f); });
            const SearchOutcome direct =
                CollectResults(plan, FoldCase(query), [&](const std::wstring& f) { return &scanned[f]; });
            EXPECT_TRUE(kept.unlisted.empty()) << query;
            EXPECT_EQ(kept.results, direct.results) << query;
        }
    }

    std::wstring root_;
    HWND window_ = nullptr;
    SearchListings listings_{Listed, Changed};
    Receiver receiver_;
};

TEST_F(SearchListingsTest, KeptListingsAnswerAsAPlainScanBeforeAndAfterTheFoldersChange)
{
    const std::wstring a = Folder(L"a", 40, L"Alpha");
    const std::wstring b = Folder(L"b", 25, L"beta");
    const std::wstring empty = Folder(L"empty", 0, L"");
    const std::wstring missing = root_ + L"\\missing";
    // The scan reads hidden entries and subfolders too.
    const std::wstring hidden = a + L"\\Alpha-hidden.txt";
    testing::WriteBytes(hidden, "x");
    SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryW((b + L"\\beta-sub").c_str(), nullptr);

    const std::vector<SearchFolder> plan = {
        {a, L"A", L"P1", 0}, {b, L"B", L"P1", 0}, {empty, L"E", L"P2", 1}, {missing, L"M", L"P2", 1}, {a, L"A2", L"P2", 1},
    };
    std::vector<std::wstring> folders;
    for (const SearchFolder& folder : plan) {
        folders.push_back(folder.folder);
    }
    listings_.Follow(folders, window_);
    ASSERT_EQ(listings_.Entries(a), nullptr) << "nothing before the worker answers";
    ASSERT_TRUE(Pump([&] { return listings_.Waiting() == 0 && listings_.Entries(missing) != nullptr; }));

    const std::vector<std::wstring> queries = {L"a", L"ALPHA", L"beta", L"BETA-SUB", L"hidden", L"7", L".TXT", L"zzz"};
    ExpectSameAsScan(plan, queries);
    const SearchOutcome hiddenFound =
        CollectResults(plan, L"hidden", [&](const std::wstring& f) { return listings_.Entries(f); });
    ASSERT_EQ(hiddenFound.results.size(), 2u) << "once per tab showing the folder";

    // A file made, one deleted and a folder that appears reach the kept
    // listings through the watcher.
    testing::WriteBytes(b + L"\\beta-new.txt", "x");
    DeleteFileW((a + L"\\Alpha0.txt").c_str());
    CreateDirectoryW(missing.c_str(), nullptr);
    testing::WriteBytes(missing + L"\\Alpha-late.txt", "x");
    ASSERT_TRUE(Pump([&] {
        const SearchOutcome now =
            CollectResults(plan, L"beta-new", [&](const std::wstring& f) { return listings_.Entries(f); });
        const std::vector<SearchEntry>* late = listings_.Entries(missing);
        return receiver_.changes > 0 && listings_.Waiting() == 0 && now.results.size() == 1 && late != nullptr &&
               !late->empty();
    }, 30000)) << "changes seen: " << receiver_.changes;
    ExpectSameAsScan(plan, queries);

    // A folder no longer followed is forgotten.
    listings_.Follow({a}, window_);
    EXPECT_EQ(listings_.Entries(b), nullptr);
    EXPECT_NE(listings_.Entries(a), nullptr);
}

}  // namespace
}  // namespace cadrels
