#pragma once

// Test seam of the socket layer: how long datagrams that are already waiting are delivered
// back to back before the event loop gets its turn. Only tests change it, so that what they
// check does not hang on the machine's speed; no option, variable or argument does.

#include <chrono>

namespace lanvista::sockets {

void SetDatagramDrainBudgetForTesting(std::chrono::nanoseconds budget);
/// Back to the layer's own budget.
void ResetDatagramDrainBudgetForTesting();

}  // namespace lanvista::sockets
