// The long run of the undo property: scripts/bench.sh undo_property_bench
// [steps] [seed]. Prints the seed first, so a failure can be replayed.
#include "UndoProperty.h"

#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char** argv)
{
    const int steps = argc > 1 ? std::atoi(argv[1]) : 10000;
    const std::uint32_t seed =
        argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : std::random_device{}();
    std::printf("Undo property: seed %u, %d steps\n", seed, steps);
    std::fflush(stdout);
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return 2;
    }
    const cadrels::testing::UndoPropertyResult result = cadrels::testing::RunUndoProperty(seed, steps);
    std::printf("Undo property: %d steps run, %d drops, %d undos, %d redos, %d refused, %d with a file held open, "
                "%d folders moved with %d files written meanwhile, %s: %s\n",
                result.stepsRun, result.moves, result.undos, result.redos, result.refused, result.partial,
                result.folderMoves, result.written,
                result.twoVolumes ? "two volumes" : "one volume (drive D: missing)",
                result.failure.empty() ? "every step held" : result.failure.c_str());
    CoUninitialize();
    return result.failure.empty() && result.stepsRun == steps ? 0 : 1;
}
