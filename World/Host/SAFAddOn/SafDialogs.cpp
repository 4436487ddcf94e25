#include "SafDialogs.hpp"

#include "DG.hpp"
#include "DGLayoutSource.hpp"
#include "DGPopUpLimit.hpp"
#include "DebugOutput.hpp"
#include "RS.hpp"

#include "ByteOrder/LittleEndian.hpp"

#include <algorithm>
#include <cstdint>
#include <string>

namespace SAF {

namespace {

// The SAF add-on has no module of its own: its layout is served under this module number, which no
// add-on's resource module ever has, and every other layout still comes from the modules' resources.
constexpr GSResModule SafResModule = 0x5AF0DD;
constexpr Int16 DetailsDialogNumber = 100;

namespace Item {
constexpr Int16 Ok = 1;
constexpr Int16 Cancel = 2;
// 3 is the translator label, which nothing reads or changes.
constexpr Int16 TranslatorPopUp = 4;
constexpr Int16 ElementKinds = 5;
constexpr Int16 UnitSystem = 6;
} // namespace Item

// "GSDG" layout bytes, as DialogLayout.hpp describes them.
class LayoutWriter {
public:
    LayoutWriter(UInt16 width, UInt16 height, const std::string& title) {
        for (UInt16 word : {UInt16{4}, UInt16{0}, UInt16{0}, UInt16{0}, width, height}) {
            Word(word);
        }
        Text(title);
        itemCountAt = body.size();
        Word(0);
    }
    LayoutWriter& Button(UInt16 left, UInt16 top, UInt16 width, const std::string& text) {
        Common(1, 7, left, top, width, 23);
        Word(0);
        Word(0);
        Text(text);
        return *this;
    }
    LayoutWriter& StaticText(UInt16 left, UInt16 top, UInt16 width, const std::string& text) {
        Common(13, 0x0400, left, top, width, 18);
        Word(0);
        Word(16);
        Text(text);
        return *this;
    }
    LayoutWriter& PopUp(UInt16 left, UInt16 top, UInt16 width) {
        Common(5, 0, left, top, width, 200);
        Word(23);
        Word(3);
        Word(0);
        return *this;
    }
    std::vector<std::uint8_t> Bytes() const {
        std::vector<std::uint8_t> bytes;
        LittleEndian::Append32(bytes, static_cast<UInt32>(body.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        bytes[4 + itemCountAt] = static_cast<std::uint8_t>(itemCount & 0xFFu);
        bytes[4 + itemCountAt + 1] = static_cast<std::uint8_t>(itemCount >> 8);
        return bytes;
    }

private:
    void Common(UInt16 kind, UInt16 style, UInt16 left, UInt16 top, UInt16 width, UInt16 height) {
        ++itemCount;
        for (UInt16 word : {itemCount, kind, style, left, top, width, height}) {
            Word(word);
        }
    }
    void Word(UInt16 word) { LittleEndian::Append16(body, word); }
    void Text(const std::string& text) {
        body.insert(body.end(), text.begin(), text.end());
        body.push_back(0);
    }

    std::vector<std::uint8_t> body;
    std::size_t itemCountAt = 0;
    UInt16 itemCount = 0;
};

class DetailsLayoutSource : public DG::LayoutSource {
public:
    DetailsLayoutSource()
        : layout(LayoutWriter(400, 160, "SAF Translator Details")
                     .Button(295, 127, 90, "OK")
                     .Button(195, 127, 90, "Cancel")
                     .StaticText(15, 12, 370, "Translator")
                     .PopUp(15, 34, 370)
                     .StaticText(15, 70, 370, "Element kinds:")
                     .StaticText(15, 94, 370, "Unit system:")
                     .Bytes()) {}

    const std::uint8_t* FindLayout(GSResModule module, Int32 number, UInt32* size) override {
        if (module == SafResModule && number == DetailsDialogNumber) {
            *size = static_cast<UInt32>(layout.size());
            return layout.data();
        }
        return RSFindResource(module, "GSDG", number, size);
    }

private:
    std::vector<std::uint8_t> layout;
};

// Built while the SAF layout is reachable; the layout is read during construction only.
class DetailsDialog : public DG::ModalDialog,
                      public DG::ButtonItemObserver,
                      public DG::PopUpObserver,
                      public DG::CompoundItemObserver {
public:
    DetailsDialog(const std::vector<Translator>& all, std::optional<std::size_t> selected)
        : DG::ModalDialog(SafResModule, DetailsDialogNumber, SafResModule), translators(all),
          okButton(GetReference(), Item::Ok), cancelButton(GetReference(), Item::Cancel),
          translatorPopUp(GetReference(), Item::TranslatorPopUp),
          elementKinds(GetReference(), Item::ElementKinds), unitSystem(GetReference(), Item::UnitSystem) {
        AttachToAllItems(*this);
        FillPopUp(translatorPopUp, translators, selected);
        ShowOptions();
    }
    ~DetailsDialog() override { DetachFromAllItems(*this); }

    // The 0-based translator of the pop-up's selection.
    std::optional<std::size_t> Chosen() const {
        const Int16 entry = translatorPopUp.GetSelectedItem();
        return entry > 0 ? std::optional<std::size_t>(static_cast<std::size_t>(entry - 1)) : std::nullopt;
    }

    void ButtonClicked(const DG::ButtonClickEvent& event) override {
        if (event.GetSource() == &okButton) {
            PostCloseRequest(DG::Accept);
        } else if (event.GetSource() == &cancelButton) {
            PostCloseRequest(DG::Cancel);
        }
    }
    void PopUpChanged(const DG::PopUpChangeEvent&) override { ShowOptions(); }

private:
    void ShowOptions() {
        std::string kinds = "Element kinds:";
        std::string units = "Unit system:";
        if (const std::optional<std::size_t> chosen = Chosen()) {
            const Translator& translator = translators[*chosen];
            for (std::size_t index = 0; index < translator.elementKinds.size(); ++index) {
                kinds += (index == 0 ? " " : ", ") + translator.elementKinds[index];
            }
            units += " " + translator.unitSystem;
        }
        elementKinds.SetText(GS::UniString(kinds.c_str(), CC_UTF8));
        unitSystem.SetText(GS::UniString(units.c_str(), CC_UTF8));
    }

    const std::vector<Translator>& translators;
    DG::Button okButton;
    DG::Button cancelButton;
    DG::PopUp translatorPopUp;
    DG::LeftText elementKinds;
    DG::LeftText unitSystem;
};

} // namespace

void FillPopUp(DG::PopUp& popUp, const std::vector<Translator>& translators,
               std::optional<std::size_t> selected) {
    popUp.DeleteItem(0);
    // Emptied, the pop-up grows by these appends alone: entry numbers are counted, not asked for.
    // Past the pop-up's limit no entry number reaches a translator: those are left out, and said so.
    const std::size_t shown = std::min(translators.size(), static_cast<std::size_t>(DG::PopUpEntryLimit));
    if (shown < translators.size()) {
        const std::string line = "SAF: the translator pop-up holds at most " +
                                 std::to_string(DG::PopUpEntryLimit) + " entries; " +
                                 std::to_string(translators.size() - shown) + " of " +
                                 std::to_string(translators.size()) + " translators are left out.\n";
        DBPrintf("%hs", line.c_str());
    }
    Int16 entry = 0;
    for (std::size_t index = 0; index < shown; ++index) {
        popUp.AppendItem();
        entry = static_cast<Int16>(entry + 1);
        popUp.SetItemText(entry, translators[index].name);
        if (selected == index) {
            popUp.SelectItem(entry);
        }
    }
}

std::optional<std::size_t> ShowDetailsDialog(const std::vector<Translator>& translators,
                                             std::optional<std::size_t> selected) {
    DetailsLayoutSource source;
    DG::SetLayoutSource(&source);
    DetailsDialog dialog(translators, selected);
    DG::SetLayoutSource(nullptr);
    if (!dialog.Invoke()) {
        return std::nullopt;
    }
    return dialog.Chosen();
}

} // namespace SAF
