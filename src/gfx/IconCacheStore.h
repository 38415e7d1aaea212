// The icon cache's bookkeeping, apart from devices and threads: which keys
// hold a bitmap, their recency, which keys wait for the workers, and the
// latest bitmap of each path that stands in while another size loads.
// `Bitmap` is a shared handle that tests as null (a ComPtr in the program, a
// shared_ptr in tests). Main thread only. Free of Windows headers.
#pragma once

#include "gfx/IconKey.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace cadrels {

template <typename Bitmap>
class IconCacheStore {
public:
    // Keys used less than `keepUsedMs` before the newest answer stay, even
    // past the capacity: the store grows to hold what is being drawn.
    explicit IconCacheStore(size_t capacity, std::uint64_t keepUsedMs = 0)
        : capacity_(capacity), keepUsedMs_(keepUsedMs)
    {
    }

    struct Answer {
        Bitmap bitmap;          // what to draw now; null draws the placeholder
        bool request = false;   // the key is new: hand it to the workers
        std::wstring key;
    };

    // Never waits: a miss marks the key pending (once) and answers with the
    // latest bitmap of the same path, if any. `now` is a clock in
    // milliseconds.
    Answer Get(std::wstring_view path, int size, std::uint64_t now = 0)
    {
        Answer answer;
        answer.key = MakeIconKey(path, size);
        if (auto found = entries_.find(answer.key); found != entries_.end()) {
            recency_.splice(recency_.begin(), recency_, found->second.position);
            found->second.used = now;
            if (found->second.bitmap) {
                answer.bitmap = found->second.bitmap;
                return answer;
            }
            answer.bitmap = Latest(path);
            return answer;
        }
        if (pending_.insert(answer.key).second) {
            answer.request = true;
        }
        answer.bitmap = Latest(path);
        return answer;
    }

    // An answer from the workers, null when extraction gave nothing.
    void Store(const std::wstring& key, Bitmap bitmap, std::uint64_t now = 0)
    {
        pending_.erase(key);
        if (auto found = entries_.find(key); found != entries_.end()) {
            recency_.erase(found->second.position);
            entries_.erase(found);
        }
        recency_.push_front(key);
        const bool hasBitmap = static_cast<bool>(bitmap);
        if (hasBitmap) {
            if (latestByPath_.size() > capacity_) {
                // Halving at once rather than trimming one at a time keeps
                // the trim rare; which paths go does not matter.
                while (latestByPath_.size() > capacity_ / 2) {
                    latestByPath_.erase(latestByPath_.begin());
                }
            }
            latestByPath_[std::wstring(IconKeyPath(key))] = bitmap;
        }
        entries_.emplace(key, Entry{std::move(bitmap), recency_.begin(), now});
        while (entries_.size() > capacity_) {
            const auto oldest = entries_.find(recency_.back());
            if (keepUsedMs_ != 0 && oldest->second.used + keepUsedMs_ > now) {
                break;  // the least recent is still drawn, so is everything else
            }
            entries_.erase(oldest);
            recency_.pop_back();
        }
    }

    // An answer that will never come (its result was lost on the way): the
    // next Get asks for the key again.
    void Abandon(const std::wstring& key) { pending_.erase(key); }

    // After a device re-creation every bitmap belongs to the old device.
    // Pending keys stay pending: their answers are on the way.
    void DropBitmaps()
    {
        entries_.clear();
        recency_.clear();
        latestByPath_.clear();
    }

    bool Holds(const std::wstring& key) const { return entries_.count(key) != 0; }
    bool IsPending(const std::wstring& key) const { return pending_.count(key) != 0; }
    size_t EntryCount() const { return entries_.size(); }
    size_t PendingCount() const { return pending_.size(); }
    size_t FallbackCount() const { return latestByPath_.size(); }

private:
    struct Entry {
        Bitmap bitmap;
        std::list<std::wstring>::iterator position;
        std::uint64_t used = 0;
    };

    Bitmap Latest(std::wstring_view path) const
    {
        auto found = latestByPath_.find(std::wstring(path));
        return found == latestByPath_.end() ? Bitmap{} : found->second;
    }

    size_t capacity_;
    std::uint64_t keepUsedMs_;
    std::unordered_map<std::wstring, Entry> entries_;
    std::list<std::wstring> recency_;  // most recent first
    std::unordered_set<std::wstring> pending_;
    std::unordered_map<std::wstring, Bitmap> latestByPath_;
};

}  // namespace cadrels
