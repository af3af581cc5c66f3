#pragma once
// Socket errors as a person at a shell reads them: what went wrong and what it means for the
// tool, the number after.

#include <string>

/// "network is unreachable: no adapter leads there; ... (socket error 10051)" for the socket
/// layer's error number (a Windows Sockets number, or one the system passed on unmapped).
std::string SocketErrorText(int error);
