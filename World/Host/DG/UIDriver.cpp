#include "UIDriver.hpp"

namespace DG {

namespace {
UIDriver* installedDriver = nullptr;
}

UIDriver::~UIDriver() = default;

void UIDriver::DialogRejected(Int32 /*dialog*/, const std::string& /*message*/) {}

void UIDriver::DontShowAgainDecided(const DontShowAgainReport& /*report*/) {}

void SetUIDriver(UIDriver* driver) {
    installedDriver = driver;
}

UIDriver* GetUIDriver() {
    return installedDriver;
}

} // namespace DG
