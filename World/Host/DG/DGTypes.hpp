#pragma once

#include "GSTypes.hpp"

namespace DG {

// Which directions the user may resize a dialog in. A dialog is built with NoGrow.
enum GrowType : Int32 { NoGrow = 0, HGrow = 1, VGrow = 2, HVGrow = 3 };

// The point of the dialog that stays in place when it is resized. Dialogs here have no position on a
// screen, so the fix point changes nothing but is reported; TopLeft (1) is what a resize from the
// right or bottom edge does.
enum ResizeFixPoint : Int32 {
    TopLeft = 1,
    TopCenter = 2,
    TopRight = 3,
    CenterLeft = 4,
    Center = 5,
    CenterRight = 6,
    BottomLeft = 7,
    BottomCenter = 8,
    BottomRight = 9
};

// How a modal dialog was closed. Invoke answers true for Accept only; a driver may close with any
// positive number, which Invoke treats like Cancel.
enum ModalResponse : Int32 { Accept = 1, Cancel = 2 };

// Which button closed an alert: the 1-based position of the button among the alert's three.
enum AlertResponse : Int32 { FirstButton = 1, SecondButton = 2, ThirdButton = 3 };

} // namespace DG
