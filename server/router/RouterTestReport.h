#pragma once
// What the main program hears of the router test: WM_ROUTER_TEST_FAILED with its two parameters
// ((-1, -1) for a failure, (0, 0) when a gateway was found) and WM_ROUTER_TEST_DONE (1, 1). The
// implementation posts them when the main program runs.

#include <cstdint>

class RouterTestReport {
public:
    virtual ~RouterTestReport() = default;
    virtual void RouterTestFailed(int64_t wParam, int64_t lParam) = 0;
    virtual void RouterTestDone() = 0;
};
