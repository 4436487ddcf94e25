#pragma once

#include "DGExport.hpp"
#include "DGTypes.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

// The host's alerts. They are modal: they go to the host's UI driver and return when it answers.
// Without a driver an alert answers its first button. An alert whose button texts are all empty shows
// one button, "OK", as its first.
//
// Alert types: -1 error, 0 information, 1 warning; any other number is shown as a plain alert.
//
// When the host's call monitor refuses the call ("DGAlert", "DG::WarningAlert") nothing is shown and
// the alert answers its last button that has a text: the answer that changes least.

// `largeText` is the headline, `smallText` the explanation, `moreText` a further detail line.
// Returns the 1-based number of the button pressed.
DG_API Int16 DGAlert(Int16 alertType, const GS::UniString& largeText, const GS::UniString& smallText,
                     const GS::UniString& moreText, const GS::UniString& button1,
                     const GS::UniString& button2, const GS::UniString& button3);

namespace DG {

// A warning with up to three buttons; the answer names the button pressed (FirstButton = 1).
DG_API AlertResponse WarningAlert(const GS::UniString& largeText, const GS::UniString& smallText,
                                  const GS::UniString& button1, const GS::UniString& button2,
                                  const GS::UniString& button3);

} // namespace DG
