#include "policy/PolicyDocument.h"

#include "base/HexDigit.h"
#include "policy/PolicyReadings.h"

#include <algorithm>

namespace cadrels {
namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
// Ten million rounds take seconds; a larger count would freeze the prompt.
constexpr int MaxPasswordIterations = 10000000;

}  // namespace

PolicyDocument::PolicyDocument(JsonValue root) : root_(std::move(root)), inForce_(root_.IsObject())
{
    if (!inForce_) {
        root_ = JsonValue();
        return;
    }
    predefined_ = ReadPredefinedCadrels(Find("cadrels"));
}

const JsonValue* PolicyDocument::Find(std::string_view key) const
{
    return root_.Find(key);
}

int PolicyDocument::Bool(std::string_view key) const
{
    return ReadPolicyBoolean(Find(key));
}

int PolicyDocument::Int(std::string_view key, int min, int max) const
{
    return ReadPolicyInteger(Find(key), min, max);
}

std::string PolicyDocument::String(std::string_view key) const
{
    return ReadPolicyString(Find(key));
}

std::optional<Color> PolicyDocument::Colour(std::string_view key) const
{
    return ReadPolicyColour(Find(key));
}

int PolicyDocument::Theme() const
{
    return PolicyThemeFromWord(ReadPolicyWord(Find("forceTheme"), false));
}

int PolicyDocument::ViewMode() const
{
    return PolicyViewModeFromWord(ReadPolicyWord(Find("forceViewMode"), false));
}

std::string PolicyDocument::LanguageCode() const
{
    return AsciiLowered(String("forceLanguage"));
}

std::optional<double> PolicyDocument::ForcedOpacity() const
{
    const int percent = Int("forceOpacity", 15, 100);
    return percent == PolicyNotSet ? std::nullopt : std::optional<double>(percent / 100.0);
}

std::optional<double> PolicyDocument::ForcedZoom() const
{
    const int percent = Int("forceZoom", 60, 200);
    return percent == PolicyNotSet ? std::nullopt : std::optional<double>(percent / 100.0);
}

bool PolicyDocument::ArrayNames(std::string_view key, int section) const
{
    const JsonValue* names = Find(key);
    if (names == nullptr) {
        return false;
    }
    return std::any_of(names->Elements().begin(), names->Elements().end(), [section](const JsonValue& name) {
        return name.IsString() && PolicySectionFromName(name.StringOr({})) == section;
    });
}

bool PolicyDocument::IsSectionHidden(int section) const
{
    if (section == SectionSupport && Bool("support") == 0) {
        return true;
    }
    if (section == SectionUpdates && Bool("updates") == 0) {
        return true;
    }
    return ArrayNames("hide", section);
}

bool PolicyDocument::IsSectionLocked(int section) const
{
    if (section == SectionAppearance && Bool("lockTheme") == 1) {
        return true;
    }
    return ArrayNames("lock", section);
}

bool PolicyDocument::AreSettingsLocked() const
{
    return Bool("lockSettings") == 1 && (!AdminPasswordDigest().empty() || !AdminPasswordPbkdf2().key.empty());
}

PolicyDocument::Pbkdf2Password PolicyDocument::AdminPasswordPbkdf2() const
{
    Pbkdf2Password form;
    form.key = String("adminPasswordPbkdf2Sha256");
    form.iterations = Int("adminPasswordIterations", 1, MaxPasswordIterations);
    const std::string saltHex = String("adminPasswordSalt");
    if (saltHex.size() % 2 != 0) {
        return form;
    }
    for (size_t i = 0; i < saltHex.size(); i += 2) {
        const int high = HexDigit(saltHex[i]);
        const int low = HexDigit(saltHex[i + 1]);
        if (high < 0 || low < 0) {
            form.salt.clear();
            return form;
        }
        form.salt.push_back(static_cast<char>(high * 16 + low));
    }
    return form;
}

std::string PolicyDocument::BrandName() const
{
    std::string name = String("brandName");
    return name.empty() ? std::string(DefaultBrandName) : name;
}

PolicyDocument LockedPolicy()
{
    // No typed password hashes to a digest that is not 64 hexadecimal digits.
    return ParsePolicy(R"({"lockCadrels":true,"lockSettings":true,"adminPasswordSha256":"locked"})");
}

PolicyDocument ParsePolicy(std::string_view bytes)
{
    if (bytes.size() > 2 && bytes.substr(0, 3) == Utf8ByteOrderMark) {
        bytes.remove_prefix(3);
    }
    JsonValue root;
    if (!ParseJson(bytes, root) || !root.IsObject()) {
        return PolicyDocument();
    }
    return PolicyDocument(std::move(root));
}

bool DigestsMatch(std::string_view expected, std::string_view actual)
{
    if (expected.size() != actual.size()) {
        return false;
    }
    unsigned difference = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        difference |= static_cast<unsigned char>(expected[i]) ^ static_cast<unsigned char>(actual[i]);
    }
    return difference == 0;
}

}  // namespace cadrels
