#pragma once

// A Windows console shows a program's bytes in its output code page (949 on a Korean system),
// where the UTF-8 text a tool writes turns into other characters. While one of these lives the
// console takes UTF-8; its own code page comes back at the end, and on Ctrl+C or Ctrl+Break
// too, since the console outlives the program. Nothing to do where terminals take UTF-8.

namespace lanvista::sockets {

class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();

    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    unsigned m_previousCodePage = 0;  // 0: nothing to give back
};

}  // namespace lanvista::sockets
