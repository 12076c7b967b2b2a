#pragma once

#include <cstddef>
#include <string>

namespace lumivane::link {

// Cuts the bytes a monitor sends into reply lines ending in CR LF. It keeps what follows a line for the
// next one, and notices a line that grows past the longest allowed reply before its end arrives.
class LineFramer
{
public:
    enum class Result
    {
        Line,
        NeedMore,
        Overlong
    };

    void append(const char* data, size_t size) { m_buffer.append(data, size); }

    // Takes the next complete line (without CR LF) into `line`.
    Result next(std::string& line);

    void clear() { m_buffer.clear(); }
    bool empty() const { return m_buffer.empty(); }
    const std::string& pending() const { return m_buffer; }

private:
    std::string m_buffer;
};

} // namespace lumivane::link
