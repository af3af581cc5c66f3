#pragma once

#include <string>

// The executable's file name without its extension: the application title by default.
std::string ExecutableTitle();
