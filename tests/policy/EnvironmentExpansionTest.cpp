// Expanding the policy location against chosen variables only.
#include "policy/EnvironmentExpansion.h"

#include <gtest/gtest.h>

namespace cadrels {
namespace {

TEST(EnvironmentExpansion, ReplacesKnownReferencesAndKeepsTheRest)
{
    const EnvironmentVariables machine = {{L"ProgramData", L"C:\\ProgramData"},
                                          {L"SystemRoot", L"C:\\Windows"},
                                          {L"Empty", L""},
                                          {L"PROGRAMDATA", L"C:\\second"}};
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"%ProgramData%\\Corp\\policy.json", L"C:\\ProgramData\\Corp\\policy.json"},
        {L"%programdata%\\a", L"C:\\ProgramData\\a"},  // case-insensitive, first match wins
        {L"%SystemRoot%\\%ProgramData%", L"C:\\Windows\\C:\\ProgramData"},
        {L"%Unknown%\\a", L"%Unknown%\\a"},
        {L"100%%SystemRoot%", L"100%C:\\Windows"},  // the unknown "%%" closes onto the next reference
        {L"a%b", L"a%b"},
        {L"%", L"%"},
        {L"%%", L"%%"},
        {L"%Empty%x", L"x"},
        {L"tail%", L"tail%"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExpandReferences(c.text, machine), c.expected) << c.text;
    }
    EXPECT_EQ(ExpandReferences(L"%ProgramData%", {}), L"%ProgramData%") << "nothing known, nothing expanded";
}

}  // namespace
}  // namespace cadrels
