// What the pointer is doing over the dock: where it is (for the
// magnification), which slot it hovers, and the one press it may be making,
// which becomes a click or a drag of an item along the shelf.
#pragma once

namespace cadrels {

struct DockPointer {
    // Client x of the pointer; negative while it is away.
    float mouseX = -1.0f;
    // WM_MOUSELEAVE was asked for.
    bool tracking = false;
    int hoverSlot = -1;

    bool pressing = false;
    int pressX = 0;
    bool dragging = false;
    int dragIndex = -1;
    // A drag ended on this press: its release is no click.
    bool suppressClick = false;
    // Files dragged from elsewhere are over the dock.
    bool dropHover = false;
};

}  // namespace cadrels
