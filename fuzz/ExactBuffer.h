#pragma once
// A heap copy of exactly the bytes given, so that AddressSanitizer reports a read one
// byte past the end (a std::string keeps a terminator and spare capacity there).

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

class ExactBuffer {
public:
    ExactBuffer(const void* data, std::size_t size) : m_bytes(new char[size]), m_size(size)
    {
        if (size != 0)
            std::memcpy(m_bytes.get(), data, size);
    }
    explicit ExactBuffer(std::string_view text) : ExactBuffer(text.data(), text.size()) {}

    const char* data() const { return m_bytes.get(); }
    std::size_t size() const { return m_size; }
    std::string_view view() const { return {m_bytes.get(), m_size}; }

private:
    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size;
};
