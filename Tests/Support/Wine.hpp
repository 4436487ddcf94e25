#pragma once

namespace TestSupport {

// True when this Windows program runs under Wine rather than on Windows; false elsewhere. For the few
// places where Wine is known to differ from Windows, so that a test can say so instead of failing.
bool RunsUnderWine();

} // namespace TestSupport
