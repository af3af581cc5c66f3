#pragma once
// System errors as a person at a shell reads them: the system's words and what they mean for
// the tool, the number after.

#include <string>

/// "network is unreachable: no adapter leads there (errno 101)" for a POSIX errno.
std::string ErrnoText(int error);

/// The same for the socket layer's error number (a Windows Sockets number, or an errno the
/// layer did not map).
std::string SocketErrorText(int wsaError);
