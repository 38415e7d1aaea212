#include "cadrel/FolderLister.h"

#include "base/DebugLog.h"

#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace cadrels {
namespace {

std::mutex faultLock;
EnumerationFault testFault;

EnumerationFault CurrentFault()
{
    std::lock_guard lock(faultLock);
    return testFault;
}

}  // namespace

FolderListing ListEntries(const std::wstring& folder, const EnumerationFault& fault)
{
    ListingOptions options;
    options.sizeBudget = 0;
    options.fault = fault;
    return ListFolder(folder, options);
}

FolderListing ListFolderSizes(const std::vector<CadrelItem>& entries, std::size_t budget)
{
    FolderListing sizes;
    sizes.present = true;
    for (const CadrelItem& entry : entries) {
        if (entry.isFolder) {
            CadrelItem folder = entry;
            folder.size = FolderContentSize(entry.path, budget);
            sizes.items.push_back(std::move(folder));
        }
    }
    return sizes;
}

FolderLister::FolderLister() : mailbox_(std::make_shared<Mailbox<ListedFolder>>()) {}

void FolderLister::SetFaultForTests(EnumerationFault fault)
{
    std::lock_guard lock(faultLock);
    testFault = std::move(fault);
}

void FolderLister::Request(const std::wstring& folder, HWND window, UINT message)
{
    if (folder != folder_) {
        folder_ = folder;
        ++generation_;
        running_ = 0;
        queued_.reset();
    } else if (running_ != 0) {
        queued_ = Queued{window, message};
        return;
    }
    Launch(window, message);
}

void FolderLister::Cancel()
{
    folder_.clear();
    ++generation_;
    running_ = 0;
    queued_.reset();
}

void FolderLister::Launch(HWND window, UINT message)
{
    const std::uint64_t generation = generation_;
    // The thread holds the mailbox and copies of everything else: the cadrel
    // may be gone by the time a slow share answers.
    auto body = [mailbox = mailbox_, folder = folder_, generation, window, message, fault = CurrentFault()] {
        auto entries = std::make_unique<ListedFolder>();
        entries->generation = generation;
        entries->listing = ListEntries(folder, fault);
        std::vector<CadrelItem> walked = entries->listing.items;
        // Left in the mailbox even when the post fails on a full queue: the
        // cadrel's next request takes it.
        mailbox->Put(std::move(entries));
        if (!PostMessageW(window, message, 0, 0) && !IsWindow(window)) {
            return;
        }
        auto sizes = std::make_unique<ListedFolder>();
        sizes->generation = generation;
        sizes->sizes = true;
        sizes->listing = ListFolderSizes(walked, FolderSizeBudget);
        if (!sizes->listing.items.empty()) {
            mailbox->Put(std::move(sizes));
            PostMessageW(window, message, 0, 0);
        }
    };
    try {
        std::thread(std::move(body)).detach();
        running_ = generation;
    } catch (const std::system_error&) {
        DebugLog(L"Liste de %ls impossible : le fil ne demarre pas.", folder_.c_str());
        running_ = 0;
    }
}

std::unique_ptr<ListedFolder> FolderLister::TakeCurrent()
{
    while (std::unique_ptr<ListedFolder> result = mailbox_->Take()) {
        if (result->generation != generation_) {
            continue;
        }
        if (!result->sizes && running_ == generation_) {
            running_ = 0;
            if (queued_) {
                const Queued next = *std::exchange(queued_, std::nullopt);
                Launch(next.window, next.message);
            }
        }
        return result;
    }
    return nullptr;
}

}  // namespace cadrels
