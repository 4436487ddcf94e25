#include "OpenInAnalysisApplication.hpp"

GSErrCode OpenInAnalysisApplication() {
    // The command's body arrives with the model hand-off work.
    return NoError;
}
