#pragma once

#include <functional>

// Runs the event loop until condition holds or timeoutMs has passed; the last value of
// the condition.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
