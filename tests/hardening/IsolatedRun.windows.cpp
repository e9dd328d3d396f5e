#include "IsolatedRun.h"

#include <exception>

#include "common/Error.h"

namespace iwv::test {

// A Windows program cannot fork: the work runs here, and a crash ends the
// test program, which fails the test run just as well.
IsolatedResult RunIsolated(const std::function<void()>& body) {
    IsolatedResult result;
    try {
        body();
    } catch (const Error& error) {
        result.error = error.Message();
    } catch (const std::exception& error) {
        result.crashed = true;
        result.how = error.what();
    }
    return result;
}

}  // namespace iwv::test
