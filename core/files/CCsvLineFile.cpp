#include "CCsvLineFile.h"

#include "SharedFile.h"
#include "TextNumbers.h"

#include <cerrno>

namespace lumivane {

CCsvLineFile::CCsvLineFile() = default;

CCsvLineFile::~CCsvLineFile()
{
    release();
}

bool CCsvLineFile::openRead(const std::string& path)
{
    release();
    m_error.clear();
    auto lock = std::make_unique<SidecarLock>();
    if (!lock->acquire(path, FileAccess::ExclusiveRead, m_error))
        return false;
    if (readLockedFile(path, m_content, m_error) != ReadResult::Ok) {
        if (m_error.empty())
            m_error = systemErrorText(ENOENT);
        return false;
    }
    m_lock = std::move(lock);
    m_position = 0;
    m_mode = Mode::Reading;
    return true;
}

bool CCsvLineFile::openWrite(const std::string& path)
{
    release();
    m_error.clear();
    auto lock = std::make_unique<SidecarLock>();
    auto writer = std::make_unique<AtomicFileWriter>();
    if (!lock->acquire(path, FileAccess::ExclusiveWrite, m_error) || !writer->open(path, m_error))
        return false;
    m_lock = std::move(lock);
    m_writer = std::move(writer);
    m_writeFailed = false;
    m_mode = Mode::Writing;
    return true;
}

bool CCsvLineFile::readLine()
{
    if (m_mode != Mode::Reading || m_position >= m_content.size())
        return false;
    size_t end = m_content.find('\n', m_position);
    const size_t next = end == std::string::npos ? m_content.size() : end + 1;
    if (end == std::string::npos)
        end = m_content.size();
    m_line.assign(m_content, m_position, end - m_position);
    if (!m_line.empty() && m_line.back() == '\r')
        m_line.pop_back();
    m_position = next;
    m_fieldPosition = 0;
    return true;
}

bool CCsvLineFile::nextField(std::string& field)
{
    if (m_fieldPosition >= m_line.size())
        return false;
    const size_t comma = m_line.find(',', m_fieldPosition);
    const size_t end = comma == std::string::npos ? m_line.size() : comma;
    field.assign(m_line, m_fieldPosition, end - m_fieldPosition);
    m_fieldPosition = comma == std::string::npos ? m_line.size() : comma + 1;
    return true;
}

int CCsvLineFile::nextInt(int fallback)
{
    std::string field;
    return nextField(field) ? parseAtoi(field) : fallback;
}

bool CCsvLineFile::writeLine(const std::vector<std::string>& fields)
{
    size_t used = fields.size();
    while (used > 0 && fields[used - 1].empty())
        --used;
    std::string line;
    for (size_t i = 0; i < used; ++i) {
        if (i > 0)
            line += ',';
        line += fields[i];
    }
    return writeLine(std::string_view(line));
}

bool CCsvLineFile::writeLine(std::string_view line)
{
    if (m_mode != Mode::Writing)
        return false;
    if (!m_writer->write(line) || !m_writer->write("\n"))
        m_writeFailed = true;
    return !m_writeFailed;
}

bool CCsvLineFile::close()
{
    bool ok = true;
    if (m_mode == Mode::Writing) {
        ok = m_writer->commit(m_error); // fails, keeping the old file, when any write failed
    }
    release();
    return ok;
}

void CCsvLineFile::release()
{
    m_writer.reset(); // an uncommitted file is discarded
    m_lock.reset();
    m_content.clear();
    m_line.clear();
    m_mode = Mode::Closed;
}

} // namespace lumivane
