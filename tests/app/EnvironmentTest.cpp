#include "app/Environment.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace cadrels {
namespace {

std::wstring Block(std::initializer_list<const wchar_t*> entries)
{
    std::wstring block;
    for (const wchar_t* entry : entries) {
        block += entry;
        block.push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

TEST(ScrubEnvironment, CollectsOnlyNamesStartingWithThePrefixes)
{
    const std::wstring block = Block({
        L"=C:=C:\\Windows",            // per-drive directory: "=" first, skipped
        L"VSCODE_=1",                  // exactly the prefix
        L"VSCODE_PID=42",
        L"VSCODE=keep",                // no underscore
        L"MY_VSCODE_X=keep",           // prefix later in the name
        L"vscode_lower=keep",          // case matters
        L"CHROME_CRASHPAD=1",          // exactly the prefix
        L"CHROME_CRASHPAD_PIPE_NAME=x",
        L"CHROME_CRASH=keep",
        L"NOEQUALSIGN",                // malformed entry: skipped
        L"PATH=C:\\VSCODE_=x",         // prefix only in the value
    });
    const std::vector<std::wstring> expected = {L"VSCODE_", L"VSCODE_PID", L"CHROME_CRASHPAD",
                                                L"CHROME_CRASHPAD_PIPE_NAME"};
    EXPECT_EQ(InheritedVariablesToRemove(block.c_str()), expected);
    EXPECT_TRUE(InheritedVariablesToRemove(nullptr).empty());
    EXPECT_TRUE(InheritedVariablesToRemove(Block({}).c_str()).empty());
}

bool Defined(const wchar_t* name)
{
    return GetEnvironmentVariableW(name, nullptr, 0) != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
}

TEST(ScrubEnvironment, RemovesTheVariablesFromTheProcess)
{
    for (const wchar_t* name : {L"VSCODE_IPC_HOOK", L"VSCODE_", L"CHROME_CRASHPAD_PIPE", L"CHROME_CRASHPAD",
                                L"ELECTRON_RUN_AS_NODE", L"NODE_OPTIONS", L"ELECTRON_NO_ASAR",
                                L"ELECTRON_NO_ATTACH_CONSOLE", L"VSCODE", L"XVSCODE_A", L"CADRELS_KEEP"}) {
        ASSERT_TRUE(SetEnvironmentVariableW(name, L"1"));
    }
    ScrubEnvironment();
    for (const wchar_t* gone : {L"VSCODE_IPC_HOOK", L"VSCODE_", L"CHROME_CRASHPAD_PIPE", L"CHROME_CRASHPAD",
                                L"ELECTRON_RUN_AS_NODE", L"NODE_OPTIONS", L"ELECTRON_NO_ASAR",
                                L"ELECTRON_NO_ATTACH_CONSOLE"}) {
        EXPECT_FALSE(Defined(gone)) << std::string(gone, gone + wcslen(gone));
    }
    for (const wchar_t* kept : {L"VSCODE", L"XVSCODE_A", L"CADRELS_KEEP"}) {
        EXPECT_TRUE(Defined(kept));
    }
}

}  // namespace
}  // namespace cadrels
