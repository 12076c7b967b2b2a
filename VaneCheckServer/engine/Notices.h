#pragma once

#include "ServerPanel.h"

#include <string>
#include <vector>

namespace lumivane {

// The error notice of one monitor: subject "Lumivane Error Notice (<name>)" and a body of "label : value"
// lines with the status, the monitor's identity and address, and what the last check read.
std::string errorNoticeSubject(const ServerPanel& panel);
std::string errorNoticeBody(const ServerPanel& panel);

// The periodic report: how many monitoring targets this run handled, how many of them are in error, and a
// tab-separated line for each of them that has a status.
class ReportBuilder
{
public:
    void add(const ServerPanel& panel);
    int count() const { return m_count; }
    int errorCount() const { return m_errors; }

    static std::string subject();
    std::string body() const;

private:
    int m_count = 0;
    int m_errors = 0;
    std::string m_lines;
};

} // namespace lumivane
