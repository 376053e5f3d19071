#pragma once
// Qt keys as the virtual-key codes the system's handlers see.

class QKeyEvent;

namespace vesk {

// The virtual-key code of the key: letters and digits as their upper-case
// ASCII codes, the keys of VirtualKey as listed there; 0 for keys the
// program never sees.
int VirtualKeyOf(const QKeyEvent& event);

}  // namespace vesk
