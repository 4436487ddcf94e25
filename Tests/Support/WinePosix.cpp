#include "Wine.hpp"

namespace TestSupport {

bool RunsUnderWine() {
    return false;
}

} // namespace TestSupport
