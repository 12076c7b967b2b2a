#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lumivane {

class AtomicFileWriter;
class SidecarLock;

// A text file read or written line by line, fields separated by single commas, no quoting. Both kinds
// of open hold the file exclusively until close, retrying for about ten seconds while another process
// holds it. A written file replaces the old one only when close() succeeds, so a failed write leaves the
// previous file whole; a write that is never closed (an early return, an exception) is discarded.
class CCsvLineFile
{
public:
    CCsvLineFile();
    CCsvLineFile(const CCsvLineFile&) = delete;
    CCsvLineFile& operator=(const CCsvLineFile&) = delete;
    ~CCsvLineFile(); // discards an unfinished write: only close() publishes

    bool openRead(const std::string& path);
    bool openWrite(const std::string& path);

    // Moves to the next line; false at the end of the file.
    bool readLine();
    // The next field of the current line: up to the next comma, or the rest of the line. False when
    // nothing is left of the line.
    bool nextField(std::string& field);
    // The next field read as a decimal integer; `fallback` when the field is missing.
    int nextInt(int fallback);
    const std::string& currentLine() const { return m_line; }

    // Writes the fields joined by commas, trailing empty fields dropped.
    bool writeLine(const std::vector<std::string>& fields);
    bool writeLine(std::string_view line);

    // Ends reading or writing; for a written file, false when any write failed (the old file stays).
    bool close();
    bool isOpen() const { return m_mode != Mode::Closed; }
    const std::string& lastError() const { return m_error; }

private:
    enum class Mode { Closed, Reading, Writing };

    void release(); // lets go of the file; an unfinished write is discarded

    Mode m_mode = Mode::Closed;
    std::unique_ptr<SidecarLock> m_lock;
    std::unique_ptr<AtomicFileWriter> m_writer;
    std::string m_content;
    size_t m_position = 0;
    std::string m_line;
    size_t m_fieldPosition = 0;
    bool m_writeFailed = false;
    std::string m_error;
};

} // namespace lumivane
