#pragma once

#include "GSTypes.hpp"
#include "TranslatorFile.hpp"

#include <cstddef>
#include <optional>
#include <vector>

namespace DG {
class PopUp;
}

// The SAF add-on's own dialog work, on the host's dialog library.
namespace SAF {

// 'FTRP': empties `popUp`, puts every translator's name into it in order and selects the entry of
// `selected` (nothing when there is none).
void FillPopUp(DG::PopUp& popUp, const std::vector<Translator>& translators,
               std::optional<std::size_t> selected);

// 'ISID': the "SAF Translator Details" dialog, shown through the host's UI driver. It lists the
// translators with `selected` chosen and shows the chosen one's element kinds and unit system; the
// user may choose another. The translator chosen when the user pressed OK, or nothing when the user
// cancelled or the dialog could not be shown.
std::optional<std::size_t> ShowDetailsDialog(const std::vector<Translator>& translators,
                                             std::optional<std::size_t> selected);

} // namespace SAF
