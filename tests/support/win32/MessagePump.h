#pragma once

#include <windows.h>

// Handles one message of the thread as the modal loop of its window's dialog would (the key
// filter's walk first); false when none was waiting. first and last (both 0: every message)
// take only the messages in that range.
bool PumpOne(UINT first = 0, UINT last = 0);
