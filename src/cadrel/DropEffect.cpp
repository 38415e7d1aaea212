#include "cadrel/DropEffect.h"

namespace cadrels {

unsigned ChooseDropEffect(bool accepting, bool ctrl, unsigned offered)
{
    if (!accepting) {
        return DropNone;
    }
    const unsigned asked = ctrl ? DropCopy : DropMove;
    const unsigned other = ctrl ? DropMove : DropCopy;
    if ((offered & asked) != 0) {
        return asked;
    }
    if ((offered & other) != 0) {
        return other;
    }
    return DropNone;
}

unsigned AnsweredDropEffect(unsigned chosen, int arrived, int dropped)
{
    if (chosen == DropNone || arrived <= 0) {
        return DropNone;
    }
    return chosen == DropMove && arrived < dropped ? DropCopy : chosen;
}

}  // namespace cadrels
