#pragma once

#include <functional>

// Runs the event loop until `condition` holds or `timeoutMs` passed; false on
// the time-out.
bool waitFor(const std::function<bool()>& condition, int timeoutMs);
