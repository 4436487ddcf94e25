#include "DGUserData.hpp"

#include "CallReport.hpp"
#include "GSPref.hpp"

#include <cstring>
#include <vector>

GSSize DGRetrieveUserDataFromRegistry(const GS::UniString& name, void* data, GSSize dataSize) {
    const std::string utf8Name = name.ToUTF8().Get();
    DG::CallReport report("DGRetrieveUserDataFromRegistry", [&] {
        return "name=" + DG::QuotedText(utf8Name) + " size=" + std::to_string(dataSize);
    });
    if (report.Refused()) {
        report.Result("stored=0 applied=false (refused)");
        return 0;
    }
    std::vector<char> stored(static_cast<std::size_t>(DG::LargestUserDataRecord));
    GSSize storedSize = 0;
    const GSErrCode read =
        GSPref::ReadBinaryValue(GSPref::RootKeyDomain::CurrentUser, DG::UserDataKey, utf8Name.c_str(),
                                stored.data(), DG::LargestUserDataRecord, &storedSize);
    if (read != NoError || storedSize <= 0 || storedSize > DG::LargestUserDataRecord) {
        report.Result("stored=0 applied=false");
        return 0;
    }
    const bool applies = data != nullptr && storedSize == dataSize;
    if (applies) {
        std::memcpy(data, stored.data(), static_cast<std::size_t>(storedSize));
    }
    report.Result(
        [&] { return "stored=" + std::to_string(storedSize) + " applied=" + (applies ? "true" : "false"); });
    return storedSize;
}

GSErrCode DGStoreUserDataToRegistry(const GS::UniString& name, const void* data, GSSize dataSize) {
    if (data == nullptr || dataSize < 0) {
        return GSErr::BadParameter;
    }
    const std::string utf8Name = name.ToUTF8().Get();
    return GSPref::WriteBinaryValue(GSPref::RootKeyDomain::CurrentUser, DG::UserDataKey, utf8Name.c_str(),
                                    data, dataSize);
}
