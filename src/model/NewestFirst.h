// Orders listed files (snapshots, backups) newest first by a sortable key
// for each, then by last-write time, then by path, so that the order is the
// same from one listing to the next even for files of the same minute.
#pragma once

#include <algorithm>
#include <cstddef>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace cadrels {

// `Entry` has `lastWrite` and `path`; `keys[i]` is the key of `entries[i]`.
template <typename Entry>
void OrderNewestFirstByKey(std::vector<Entry>& entries, const std::vector<std::wstring>& keys)
{
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (keys[a] != keys[b]) {
            return keys[a] > keys[b];
        }
        if (entries[a].lastWrite != entries[b].lastWrite) {
            return entries[a].lastWrite > entries[b].lastWrite;
        }
        return entries[a].path < entries[b].path;
    });
    std::vector<Entry> ordered;
    ordered.reserve(entries.size());
    for (size_t index : order) {
        ordered.push_back(std::move(entries[index]));
    }
    entries = std::move(ordered);
}

}  // namespace cadrels
