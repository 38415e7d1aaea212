// The administrator's policy as a value: the parsed root of policy.json and
// every question the rest of the program asks it. Nothing here touches
// Windows, so the rules are tested (and fuzzed) directly.
#pragma once

#include "model/JsonValue.h"
#include "model/Records.h"
#include "policy/PredefinedCadrels.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cadrels {

// Settings-window sections that "hide" and "lock" may name.
enum PolicySection {
    SectionGuide = 0,
    SectionAppearance = 1,
    SectionEditCadrel = 2,
    SectionPages = 3,
    SectionRules = 4,
    SectionLanguage = 5,
    SectionUpdates = 8,
    SectionSupport = 9,
    SectionAbout = 10,
    SectionBackup = 12,
    SectionHotkeys = 13,
};

inline constexpr char DefaultBrandName[] = "Cadrels";

class PolicyDocument {
public:
    // No policy: every query answers "not set".
    PolicyDocument() = default;
    // `root` must be an object; anything else gives no policy.
    explicit PolicyDocument(JsonValue root);

    bool InForce() const { return inForce_; }
    const JsonValue& Root() const { return root_; }

    int Bool(std::string_view key) const;
    int Int(std::string_view key, int min, int max) const;
    std::string String(std::string_view key) const;
    std::optional<Color> Colour(std::string_view key) const;

    int Theme() const;
    int ViewMode() const;
    std::string LanguageCode() const;

    // Percent read as a fraction: opacity 0.15..1.0, zoom 0.6..2.0.
    std::optional<double> ForcedOpacity() const;
    std::optional<double> ForcedZoom() const;

    bool IsSectionHidden(int section) const;
    bool IsSectionLocked(int section) const;
    bool IsSectionHiddenOrLocked(int section) const { return IsSectionHidden(section) || IsSectionLocked(section); }

    bool AreSettingsLocked() const;
    bool AreCadrelsLocked() const { return Bool("lockCadrels") == 1; }
    bool IsQuitLocked() const { return Bool("lockQuit") == 1; }

    // "brandName", or "Cadrels" when it is not set.
    std::string BrandName() const;

    // The lower-case hexadecimal SHA-256 the password must hash to; empty when
    // no password is set.
    std::string AdminPasswordDigest() const { return String("adminPasswordSha256"); }

    // The salted, iterated form: "adminPasswordPbkdf2Sha256" (the derived key
    // as lower-case hexadecimal), "adminPasswordSalt" (hexadecimal) and
    // "adminPasswordIterations". When the key is set it alone decides, even
    // when the salt or the count is unusable (then nothing opens).
    struct Pbkdf2Password {
        std::string key;
        std::string salt;   // the salt's bytes, decoded; empty when unusable
        int iterations = -1;  // -1 when unusable
        bool Usable() const { return !salt.empty() && iterations > 0 && key.size() >= 32 && key.size() % 2 == 0; }
    };
    Pbkdf2Password AdminPasswordPbkdf2() const;

    const std::vector<PredefinedCadrel>& Predefined() const { return predefined_; }

private:
    const JsonValue* Find(std::string_view key) const;
    bool ArrayNames(std::string_view key, int section) const;

    JsonValue root_;
    bool inForce_ = false;
    std::vector<PredefinedCadrel> predefined_;
};

// The bytes of policy.json as the file holds them: a UTF-8 byte-order mark
// (when the file is longer than two bytes) is dropped, then the rest must
// parse to an object, else there is no policy.
PolicyDocument ParsePolicy(std::string_view bytes);

// What a process runs under when a policy file exists but could not be read:
// the cadrels and the settings window locked, with no password that opens
// it. Running without the policy would hand the user what it forbids.
PolicyDocument LockedPolicy();

// Exact comparison that takes as long whatever the bytes: the typed password's
// digest is never compared byte by byte with an early exit.
bool DigestsMatch(std::string_view expected, std::string_view actual);

}  // namespace cadrels
