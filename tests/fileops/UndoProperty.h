// Random moves, undos, redos and changes behind the program's back on real
// files, in folders on two volumes (C: and the test drive D:), with names
// that collide, files held open by another "program" so that moves fail
// part-way, and a writer adding files to a folder while it moves. After
// every step no content is lost, overwritten or doubled, each entry names
// exactly the moves that happened, and the stacks keep their rules. Used by
// the short CI run and by the long benchmark run.
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
    // Moves, undos and redos run while one of their files was held open.
    int partial = 0;
    // Folders moved while a writer added files to them, and the files it wrote.
    int folderMoves = 0;
    int written = 0;
    // Whether half of the folders were on drive D: (false: D: is missing).
    bool twoVolumes = false;
    // Empty when every step held; else what broke, at which step.
    std::string failure;
};

// Needs COM on the calling thread; works in a new folder under %TEMP%.
// Moves through `engines` (by default the engine the program would pick).
UndoPropertyResult RunUndoProperty(std::uint32_t seed, int steps, MoveEngineFactory engines = CreateMoveEngine);

}  // namespace cadrels::testing
