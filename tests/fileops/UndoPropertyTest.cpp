#include "PropertySeeds.h"
#include "TestMoveEngines.h"
#include "UndoProperty.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>

namespace cadrels::testing {
namespace {

// The fixed seeds and a fresh one (see PropertySeeds); CADRELS_PROPERTY_STEPS
// lengthens each run.
TEST(UndoProperty, NoFileIsLostAndEveryEntrySaysWhatHappened)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const char* stepsText = std::getenv("CADRELS_PROPERTY_STEPS");
    const int steps = stepsText ? std::atoi(stepsText) : 300;
    // The engine the program would pick; the Wine 10 lane insists that it is
    // the shell's.
    const std::wstring engine = CreateMoveEngine(MoveOptions{true, false})->Name();
    std::printf("Undo property: engine %ls\n", engine.c_str());
    if (ShellEngineRequired()) {
        ASSERT_EQ(engine, L"IFileOperation");
    }
    for (const std::uint32_t seed : PropertySeeds({1, 20261210, 3735928559u})) {
        AnnounceSeed(seed);
        const UndoPropertyResult result = RunUndoProperty(seed, steps);
        std::printf("Undo property: %d steps run, %d drops, %d undos, %d redos, %d refused, %d with a file held open, "
                    "%d folders moved with %d files written meanwhile, %ls\n",
                    result.stepsRun, result.moves, result.undos, result.redos, result.refused, result.partial,
                    result.folderMoves, result.written, result.twoVolumes ? L"two volumes" : L"one volume");
        EXPECT_EQ(result.failure, "") << ReplayCommand(seed);
        EXPECT_TRUE(result.twoVolumes) << "drive D: is missing; tests/harness/wine-env.sh start makes it";
        EXPECT_GT(result.partial, 0) << ReplayCommand(seed);
        EXPECT_GT(result.folderMoves, 0) << ReplayCommand(seed);
        EXPECT_EQ(result.stepsRun, steps) << ReplayCommand(seed);
        EXPECT_GT(result.undos, 0) << ReplayCommand(seed);
        EXPECT_GT(result.redos, 0) << ReplayCommand(seed);
    }
    CoUninitialize();
}

}  // namespace
}  // namespace cadrels::testing
