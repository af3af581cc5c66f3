#pragma once

// Handles one message of the thread as the modal loop of its window's dialog would (the key
// filter's walk first); false when none was waiting.
bool PumpOne();
