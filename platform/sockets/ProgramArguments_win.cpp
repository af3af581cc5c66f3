#include "platform/sockets/ProgramArguments.h"

#include <windows.h>
#include <shellapi.h>

namespace lanvista::sockets {

namespace {

std::string Utf8(const wchar_t* text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();  // the terminating zero
    return utf8;
}

} // namespace

std::vector<std::string> ProgramArguments(int argc, char** argv)
{
    // The command line as the system keeps it, in UTF-16, split by the same rules as argv.
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

}  // namespace lanvista::sockets
