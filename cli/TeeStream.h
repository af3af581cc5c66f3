#pragma once
// A stream that writes to two others: a download's messages reach the user at once and are
// kept for the report too.

#include <ostream>
#include <streambuf>

class TeeBuffer : public std::streambuf {
public:
    TeeBuffer(std::ostream& first, std::ostream& second) : m_first(first), m_second(second) {}

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* data, std::streamsize count) override
    {
        m_first.write(data, count);
        m_second.write(data, count);
        return m_first && m_second ? count : 0;
    }
    int sync() override
    {
        m_first.flush();
        m_second.flush();
        return m_first && m_second ? 0 : -1;
    }

private:
    std::ostream& m_first;
    std::ostream& m_second;
};

class TeeStream : public std::ostream {
public:
    TeeStream(std::ostream& first, std::ostream& second) : std::ostream(&m_buffer), m_buffer(first, second) {}

private:
    TeeBuffer m_buffer;
};
