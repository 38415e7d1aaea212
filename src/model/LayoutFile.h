// layout.json: the whole arrangement and every preference, loaded once at
// start with recovery from its previous version and saved atomically.
#pragma once

#include "model/Records.h"

#include <string>
#include <vector>

namespace cadrels {

// AppDataFolder() + "\layout.json", or empty.
std::wstring LayoutPath();

// Reads one file of this format (layout, snapshot, backup) into a freshly
// defaulted Settings; false when unreadable or not a JSON object, and then
// `settings` is untouched.
bool LoadSettingsFile(const std::wstring& path, Settings& settings, bool& pagesFound);

// The JSON text of the settings as the layout file holds it.
std::string SerializeSettings(const Settings& settings);

// One layout file with its .bak companion. A file that exists but cannot be
// used is copied aside ("<name>.unreadable-<date-time>") before anything could
// overwrite it; a save is refused while such a copy could not be made yet.
class LayoutFile {
public:
    static constexpr size_t KeptUnreadableCopies = 5;

    explicit LayoutFile(std::wstring path);

    // True when a usable file was found (its content is then in `settings`).
    bool Load(Settings& settings);
    bool Save(const Settings& settings);

    const std::wstring& Path() const { return path_; }
    // The copies made of unusable files during Load, in the order made.
    const std::vector<std::wstring>& SetAsideCopies() const { return setAside_; }

private:
    void SetAsideIfPresent(const std::wstring& path);
    bool SetAsidePending();

    std::wstring path_;
    std::vector<std::wstring> pendingSetAside_;
    std::vector<std::wstring> setAside_;
};

// The process's layout file (at LayoutPath()).
bool LoadLayout(Settings& settings);
bool SaveLayout(const Settings& settings);

}  // namespace cadrels
