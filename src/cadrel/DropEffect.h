// The effect a cadrel answers to a drag of files: what the user asks for
// (Ctrl copies, otherwise move) within what the source allows. Plain values,
// tested on any host.
#pragma once

namespace cadrels {

// The DROPEFFECT values.
inline constexpr unsigned DropNone = 0;
inline constexpr unsigned DropCopy = 1;
inline constexpr unsigned DropMove = 2;

// None when the drag carries no files; otherwise the asked-for effect when
// the source offers it, else the other of move and copy when it offers that,
// else none. A source that offered only copy is never told its files moved.
unsigned ChooseDropEffect(bool accepting, bool ctrl, unsigned offered);

// The effect a finished drop answers once `arrived` of `dropped` files came
// in with the `chosen` effect. A source told "move" may delete its originals,
// so a move is answered only when every file arrived; when some did not, a
// copy is answered, which keeps whatever the source still holds.
unsigned AnsweredDropEffect(unsigned chosen, int arrived, int dropped);

}  // namespace cadrels
