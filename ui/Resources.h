#pragma once

// Makes the program's dialogs, strings and icon known to the toolkit; safe to call more than once.
void RegisterResources();
