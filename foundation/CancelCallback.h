#pragma once

#include <functional>

// Asked by long operations between their steps: non-zero means the user asked to stop.
using CancelCallback = std::function<int()>;
