#include "LineFramer.h"

#include "LinkLimits.h"

namespace lumivane::link {

LineFramer::Result LineFramer::next(std::string& line)
{
    const size_t end = m_buffer.find("\r\n");
    if (end == std::string::npos) {
        // A CR as the last byte of a full-length line may still be followed by its LF.
        const bool fullLineAwaitingLf = m_buffer.size() == kMaxReplyLine + 1 && m_buffer.back() == '\r';
        if (m_buffer.size() > kMaxReplyLine && !fullLineAwaitingLf)
            return Result::Overlong;
        return Result::NeedMore;
    }
    if (end > kMaxReplyLine)
        return Result::Overlong;
    line.assign(m_buffer, 0, end);
    m_buffer.erase(0, end + 2);
    return Result::Line;
}

} // namespace lumivane::link
