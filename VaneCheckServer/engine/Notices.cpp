#include "Notices.h"

#include "ModelLookup.h"
#include "ServerTexts.h"
#include "Strings.h"

namespace lumivane {
namespace {

constexpr const char* kLineEnd = "\r\n";

void addLine(std::string& body, int label, std::string_view value)
{
    body.append(messageText(label)).append(" : ").append(value).append(kLineEnd);
}

bool isOnAndGood(const ServerPanel& panel)
{
    return panel.state.power == 1 && panel.state.statusFlags == 0;
}

std::string shortText(const ServerPanel& panel)
{
    return shortStatusText(panel.state.statusFlags, monitorModel(panel.data), panel.state.power);
}

} // namespace

std::string errorNoticeSubject(const ServerPanel& panel)
{
    return formatMessage(561, panel.data.szName);
}

std::string errorNoticeBody(const ServerPanel& panel)
{
    const TESSERA_PANEL_DATA& data = panel.data;
    const MonitorState& state = panel.state;
    std::string body;
    if (state.statusFlags != 0) {
        addLine(body, 545, shortText(panel));
        addLine(body, 584, state.statusText);
    } else {
        addLine(body, 545, state.statusText);
    }
    body.append(kLineEnd);
    addLine(body, 536, data.szName);
    addLine(body, 548, shownModelName(data.szModel));
    if (data.szSerialNo[0] != '\0')
        addLine(body, 580, data.szSerialNo);
    if (panel.isLan()) {
        addLine(body, 581, ipAddressText(data.dwIPAddress));
        addLine(body, 582, std::to_string(data.nDataPort));
        if (data.szMACAddress[0] != '\0')
            addLine(body, 583, data.szMACAddress);
    } else {
        addLine(body, 579, "COM" + std::to_string(data.nComPort));
    }
    if (data.nMonitorID != 0)
        addLine(body, 585, std::to_string(data.nMonitorID));
    if (state.hasStatus && state.statusFlags == 0) {
        addLine(body, 549, powerText(state.power));
        if (state.power == 1) {
            addLine(body, 550, serverInputName(state.inputId));
            if (!state.signalText.empty())
                addLine(body, 562, state.signalText);
            if (state.workTime >= 0)
                addLine(body, 546, std::to_string(state.workTime));
        }
    }
    if (state.hasStatus && !state.temperatureText.empty())
        addLine(body, 547, state.temperatureText);
    return body;
}

void ReportBuilder::add(const ServerPanel& panel)
{
    ++m_count;
    if (panel.state.statusFlags != 0)
        ++m_errors;
    if (!panel.state.hasStatus)
        return;
    const bool good = isOnAndGood(panel);
    const std::string none = messageText(111);
    m_lines.append(panel.data.szName).append("\t");
    m_lines.append(shortText(panel)).append("\t");
    m_lines.append(good ? serverInputName(panel.state.inputId) : none).append("\t");
    m_lines.append(good ? panel.state.signalText : none).append("\t");
    m_lines.append(panel.state.workTime >= 0 ? std::to_string(panel.state.workTime) : none).append(kLineEnd);
}

std::string ReportBuilder::subject()
{
    return messageText(558);
}

std::string ReportBuilder::body() const
{
    std::string body = formatMessage(554, m_count) + kLineEnd;
    body += formatMessage(555, m_errors) + kLineEnd;
    body += kLineEnd;
    body += std::string(messageText(556)) + kLineEnd;
    return body + m_lines;
}

} // namespace lumivane
