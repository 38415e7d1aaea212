#include "TestMoveEngines.h"

#include "fileops/NativeMoveEngine.h"
#include "fileops/ShellMoveEngine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace cadrels {

void PrintTo(const MovePair& move, std::ostream* out)
{
    *out << ::testing::PrintToString(move.from) << " -> " << ::testing::PrintToString(move.to);
}

}  // namespace cadrels

namespace cadrels::testing {

MoveEngineFactory EngineFactory(EngineKind kind)
{
    switch (kind) {
    case EngineKind::Own:
        return [](const MoveOptions& options) -> std::unique_ptr<MoveEngine> {
            return std::make_unique<NativeMoveEngine>(options);
        };
    case EngineKind::Shell:
        return [](const MoveOptions& options) -> std::unique_ptr<MoveEngine> {
            HRESULT failure = S_OK;
            return ShellMoveEngine::Create(options, failure);
        };
    case EngineKind::Chosen:
        break;
    }
    return CreateMoveEngine;
}

std::string EngineUnavailable(EngineKind kind)
{
    if (kind != EngineKind::Shell) {
        return {};
    }
    HRESULT failure = S_OK;
    if (ShellMoveEngine::Create(MoveOptions{}, failure)) {
        return {};
    }
    char text[96];
    std::snprintf(text, sizeof text, "IFileOperation cannot be created here (HRESULT 0x%08X)",
                  static_cast<unsigned>(failure));
    return text;
}

bool ShellEngineRequired()
{
    const char* value = std::getenv("CADRELS_REQUIRE_SHELL_ENGINE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

std::string EngineKindName(EngineKind kind)
{
    switch (kind) {
    case EngineKind::Own:
        return "Own";
    case EngineKind::Shell:
        return "Shell";
    case EngineKind::Chosen:
        break;
    }
    return "Chosen";
}

}  // namespace cadrels::testing
