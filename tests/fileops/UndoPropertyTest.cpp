#include "UndoProperty.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace cadrels::testing {
namespace {

// A fresh seed each run (printed, and CADRELS_PROPERTY_SEED replays one);
// CADRELS_PROPERTY_STEPS lengthens the run.
TEST(UndoProperty, NoFileIsLostAndEveryEntrySaysWhatHappened)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    const char* seedText = std::getenv("CADRELS_PROPERTY_SEED");
    const char* stepsText = std::getenv("CADRELS_PROPERTY_STEPS");
    const std::uint32_t seed = seedText ? static_cast<std::uint32_t>(std::strtoul(seedText, nullptr, 10))
                                        : std::random_device{}();
    const int steps = stepsText ? std::atoi(stepsText) : 300;
    std::printf("Undo property: seed %u, %d steps\n", seed, steps);
    const UndoPropertyResult result = RunUndoProperty(seed, steps);
    std::printf("Undo property: %d steps run, %d drops, %d undos, %d redos, %d refused\n", result.stepsRun,
                result.moves, result.undos, result.redos, result.refused);
    EXPECT_EQ(result.failure, "") << "seed " << seed;
    EXPECT_EQ(result.stepsRun, steps);
    EXPECT_GT(result.undos, 0);
    EXPECT_GT(result.redos, 0);
    CoUninitialize();
}

}  // namespace
}  // namespace cadrels::testing
