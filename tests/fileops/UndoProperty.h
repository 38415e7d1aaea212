// Random moves, undos, redos and changes behind the program's back on real
// files, checking after every step that no content was lost or overwritten,
// that each entry names exactly the moves that happened, and that the stacks
// keep their rules. Used by the short CI run and by the long benchmark run.
#pragma once

#include "fileops/MoveEngine.h"

#include <cstdint>
#include <string>

namespace cadrels::testing {

struct UndoPropertyResult {
    int stepsRun = 0;
    int moves = 0;
    int undos = 0;
    int redos = 0;
    int refused = 0;
    // Empty when every step held; else what broke, at which step.
    std::string failure;
};

// Needs COM on the calling thread; works in a new folder under %TEMP%.
// Moves through `engines` (by default the engine the program would pick).
UndoPropertyResult RunUndoProperty(std::uint32_t seed, int steps, MoveEngineFactory engines = CreateMoveEngine);

}  // namespace cadrels::testing
