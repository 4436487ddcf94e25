#pragma once

#include "Array.hpp"
#include "GSTypes.hpp"
#include "UniString.hpp"

#include <optional>

namespace DG {
class PopUp;
}

// The add-on's side of the talk with the host's SAF add-on, which owns the translators. Each
// operation is one bracket of command calls: 'LADA' hands out a translator data handle, the working
// calls use it, and 'FADA' gives it back after every successful 'LADA', whatever the working calls
// answered. Nothing is kept between operations and nothing is shown to the user.

// True when the SAF add-on accepted `name` as its selected translator.
bool SelectTranslator(GS::UniString name);

// Selects `name` (accepted or not), runs the SAF add-on's details step, in which the user may pick
// another translator, and answers the translator selected afterwards; absent when the bracket could
// not be opened, or the details step, the read-back or the close failed.
std::optional<GS::UniString> ShowTranslatorDetails(GS::UniString name);

// Fills `popUp` with the translator names. Early version-26 hosts (build below 4000) let the SAF
// add-on fill it; every other host gets the name list and the current translator, and the pop-up is
// refilled here with the current translator selected. The code is 0 when every call succeeded; on a
// failure before the refill the pop-up keeps what it had. The entries are what the list path put into
// the pop-up, so that the caller need not read thousands of entries back: entry n holds
// entries[n - 1], exactly as the SAF add-on named it. They are absent when the SAF add-on filled the
// pop-up itself, when the pop-up was not refilled, and for a list longer than the pop-up's entry
// numbers reach (32767).
struct TranslatorPopUpFill {
    GSErrCode code = NoError;
    std::optional<GS::Array<GS::UniString>> entries;
};
TranslatorPopUpFill FillTranslatorPopUp(DG::PopUp& popUp);
