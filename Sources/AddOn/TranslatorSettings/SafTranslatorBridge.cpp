#include "SafTranslatorBridge.hpp"

#include "Array.hpp"
#include "DGItem.hpp"
#include "HostServices.hpp"
#include "ProductVersionInfo.hpp"

#include <utility>

namespace {

// The SAF add-on's module identifier, as its resources give it.
constexpr AddOnModuleId SafAddOnModuleId{0x47242F2Eu, 0x8D897D96u};

constexpr UInt32 BracketVersion = 12345;
constexpr UInt32 WorkingVersion = 1;

constexpr UInt32 OpenTranslatorData = FourLetterCode("LADA");
constexpr UInt32 SelectTranslatorByName = FourLetterCode("SSTD");
constexpr UInt32 ShowSelectedTranslatorDetails = FourLetterCode("ISID");
constexpr UInt32 GetSelectedTranslator = FourLetterCode("GSTD");
constexpr UInt32 GetTranslatorNames = FourLetterCode("GTRS");
constexpr UInt32 FillTranslatorPopUpItem = FourLetterCode("FTRP");
constexpr UInt32 CloseTranslatorData = FourLetterCode("FADA");

// The SAF add-on never reports to the user on the add-on's behalf: every call is silent.
GSErrCode CallSafAddOn(UInt32 command, UInt32 version, void* parameter, void* result) {
    return HostCommandCall(&SafAddOnModuleId, command, version, parameter, result, true);
}

// The SAF add-on stores the handle in `translatorData`, which the caller set to null.
GSErrCode OpenBracket(void*& translatorData) {
    translatorData = nullptr;
    return CallSafAddOn(OpenTranslatorData, BracketVersion, &translatorData, nullptr);
}

GSErrCode CloseBracket(void*& translatorData) {
    return CallSafAddOn(CloseTranslatorData, BracketVersion, &translatorData, nullptr);
}

bool IsEarlyVersion26Host() {
    const SU::ProductVersionInfo version;
    if (!version.GetShortVersionString().IsEqual(GS::UniString("26"))) {
        return false;
    }
    return version.GetBuildNum() < 4000;
}

// Early version-26 hosts: the SAF add-on puts the names into the pop-up itself.
GSErrCode LetSafAddOnFillPopUp(DG::PopUp& popUp) {
    void* translatorData = nullptr;
    if (const GSErrCode opened = OpenBracket(translatorData); opened != NoError) {
        return opened;
    }
    const GSErrCode filled = CallSafAddOn(FillTranslatorPopUpItem, WorkingVersion, &popUp, translatorData);
    const GSErrCode closed = CloseBracket(translatorData);
    return filled != NoError ? filled : closed;
}

// Entry numbers are Int16: a longer list than that reaches cannot be told apart in the pop-up.
constexpr UIndex LargestListedPopUp = 32767;

TranslatorPopUpFill FillPopUpFromNameList(DG::PopUp& popUp) {
    void* translatorData = nullptr;
    if (const GSErrCode opened = OpenBracket(translatorData); opened != NoError) {
        return {opened, std::nullopt};
    }
    GS::Array<GS::UniString> names;
    if (const GSErrCode listed = CallSafAddOn(GetTranslatorNames, WorkingVersion, &names, translatorData);
        listed != NoError) {
        static_cast<void>(CloseBracket(translatorData));
        return {listed, std::nullopt};
    }
    GS::UniString current;
    if (const GSErrCode read = CallSafAddOn(GetSelectedTranslator, WorkingVersion, translatorData, &current);
        read != NoError) {
        static_cast<void>(CloseBracket(translatorData));
        return {read, std::nullopt};
    }
    popUp.DeleteItem(0); // 0: every entry
    // Emptied, the pop-up grows by this loop's appends alone, so the new entry's number is counted
    // here rather than asked for (wrapping past 32767 as the host's count does).
    Int16 entry = 0;
    for (const GS::UniString& name : names) {
        popUp.AppendItem();
        entry = static_cast<Int16>(entry + 1);
        popUp.SetItemText(entry, name);
        // Not cut short: of equal names, the last one stays selected.
        if (name == current) {
            popUp.SelectItem(entry);
        }
    }
    const GSErrCode closed = CloseBracket(translatorData);
    if (names.GetSize() > LargestListedPopUp) {
        return {closed, std::nullopt};
    }
    return {closed, std::move(names)};
}

} // namespace

bool SelectTranslator(GS::UniString name) {
    void* translatorData = nullptr;
    if (OpenBracket(translatorData) != NoError) {
        return false;
    }
    const GSErrCode selected = CallSafAddOn(SelectTranslatorByName, WorkingVersion, translatorData, &name);
    static_cast<void>(CloseBracket(translatorData));
    return selected == NoError;
}

std::optional<GS::UniString> ShowTranslatorDetails(GS::UniString name) {
    void* translatorData = nullptr;
    if (OpenBracket(translatorData) != NoError) {
        return std::nullopt;
    }
    // A rejected name still leads to the details step, which shows whatever is selected.
    static_cast<void>(CallSafAddOn(SelectTranslatorByName, WorkingVersion, translatorData, &name));
    // The details step receives the variable itself and may leave another handle in it.
    const GSErrCode shown =
        CallSafAddOn(ShowSelectedTranslatorDetails, WorkingVersion, nullptr, &translatorData);
    GS::UniString selected;
    GSErrCode read = shown;
    if (shown == NoError) {
        read = CallSafAddOn(GetSelectedTranslator, WorkingVersion, translatorData, &selected);
    }
    const GSErrCode closed = CloseBracket(translatorData);
    if (shown != NoError || read != NoError || closed != NoError) {
        return std::nullopt;
    }
    return selected;
}

TranslatorPopUpFill FillTranslatorPopUp(DG::PopUp& popUp) {
    if (IsEarlyVersion26Host()) {
        return {LetSafAddOnFillPopUp(popUp), std::nullopt};
    }
    return FillPopUpFromNameList(popUp);
}
