#pragma once

// Whether a person reads the process's standard error, so that a tool may draw on it.

namespace lanvista::sockets {

/// True when standard error is a terminal (a console window on Windows).
bool StandardErrorIsTerminal();

}  // namespace lanvista::sockets
