#pragma once

#include <string>

namespace lanvista::sockets {

/// The system's own words, lower case and without a full stop, for an error number the
/// socket calls left in WSAGetLastError(): on Linux an errno they passed on unmapped
/// (strerror); on Windows any number the system knows (FormatMessage). Empty when the
/// system has none.
std::string SystemErrorText(int error);

}  // namespace lanvista::sockets
