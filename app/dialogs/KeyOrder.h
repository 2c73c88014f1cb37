#pragma once
// Rows compared key by key: the first key that tells two rows apart decides their order.

// Each key is a callable giving below 0, 0 or above 0; later keys are not asked once one differs.
template <class... Keys> int FirstDifference(const Keys&... keys) {
    int order = 0;
    static_cast<void>((((order = keys()) != 0) || ...));
    return order;
}
