#include "platform/sockets/Utf8Console.h"

namespace lanvista::sockets {

Utf8Console::Utf8Console() = default;

Utf8Console::~Utf8Console() = default;

}  // namespace lanvista::sockets
