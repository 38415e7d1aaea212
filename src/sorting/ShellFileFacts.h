// The file facts the sorting rules ask for, read from the disk: attributes
// through GetFileAttributesExW, shortcuts through the shell link object, name
// patterns through the platform's PathMatchSpecW. Counts its reads, so a
// benchmark or a test can tell that each file was looked at once.
#pragma once

#include "sorting/SortRules.h"

#include <cstdint>

#include <objidl.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace cadrels {

class ShellFileFacts final : public FileFacts {
public:
    std::optional<FileStat> Stat(const std::wstring& path) override;
    // Needs COM on the calling thread.
    ShortcutTarget ReadShortcut(const std::wstring& path) override;
    bool MatchesPattern(const std::wstring& name, const std::wstring& pattern) override;

    unsigned long long AttributeReads() const { return attributeReads_; }
    unsigned long long ShortcutLoads() const { return shortcutLoads_; }

private:
    // One link object serves every shortcut of a pass: creating it costs far
    // more than loading a file into it.
    Microsoft::WRL::ComPtr<IShellLinkW> link_;
    Microsoft::WRL::ComPtr<IPersistFile> linkFile_;
    unsigned long long attributeReads_ = 0;
    unsigned long long shortcutLoads_ = 0;
};

// The current system time in UTC, in 100-ns units since 1601.
std::uint64_t UtcNow();

}  // namespace cadrels
