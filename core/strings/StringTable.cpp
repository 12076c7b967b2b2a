#include "Strings.h"

#include <algorithm>
#include <iterator>

namespace lumivane {
namespace {

struct Message {
    int number;
    const char* text;
};

// The operator-facing texts by message number, in ascending order. A translation loaded by the Qt layer
// replaces them there; the core always uses these.
constexpr Message kMessages[] = {
    {101, "Version Information..."},
    {105, "PC DVI"},
    {106, "PC D-SUB (VGA)"},
    {107, "PC RGB (5BNC)"},
    {108, "AV DVI"},
    {109, "AV Component (3BNC)"},
    {110, "AV Video (Composite)"},
    {111, "---"},
    {119, "(No use)"},
    {120, "Monitor Name :"},
    {121, "Group Name :"},
    {122, "Mail/Monitoring Setting"},
    {123, "The found monitors will be added into Root."},
    {124, "(All Monitors)"},
    {125, "(Root)"},
    {126, "New Group"},
    {127, "You cannot set the parent group to self."},
    {128, "You cannot set the child group to parent."},
    {129, "This group does not exist. This group might be deleted already."},
    {130, "This monitor ID is already registered."},
    {131, "This monitor does not exist. This monitor might be deleted already."},
    {132, "The selected monitor will be deleted.\n\n  %s"},
    {133, "The selected monitor group will be deleted.\n\n  %s \n\n* Monitors in that group also will be deleted."},
    {135, "Sun."},
    {136, "Mon."},
    {137, "Tue."},
    {138, "Wed."},
    {139, "Thu."},
    {140, "Fri."},
    {141, "Sat."},
    {142, "On"},
    {143, "Off"},
    {144, "Input Mode"},
    {145, "From"},
    {146, "To"},
    {147, "Please enter monitor name."},
    {159, "Found %d monitor(s)."},
    {164, "Found no monitor."},
    {165, "Please enter schedule name."},
    {166, "*UNASSIGNED*"},
    {167, "The hierarchy of this group is too deep."},
    {168, "Cannot create schedule file."},
    {169, "A monitor name cannot contain any of the following characters:\r\n\\ / : * ? \" < > |"},
    {170, "There is the same monitor name. Please enter another name."},
    {171, "The schedule will be deleted.\n\n  %s "},
    {172, "-"},
    {173, "O"},
    {174, "X"},
    {175, "Enter new schedule name"},
    {176, "Schedule Name :"},
    {177, "Time"},
    {178, "Mail Address"},
    {182, "The test mail to \"%s\" will be sent. "},
    {183, "Please select monitor."},
    {199, "Cannot open file.\r\n%s"},
    {200, "This file may be broken."},
    {201, "This version doesn't support that setting file."},
    {206, "Cannot create mail address file."},
    {208, "Please select schedule days."},
    {209, "Enlarge Setting File(*.esf)|*.esf||"},
    {210, "EnlargeSetting.esf"},
    {211, "Found monitors will be added into that Group.\nDo you delete monitors already registered in that group?\n\n  %s"},
    {213, "Present enlarge setting will be removed. Do you save the setting before removing?"},
    {216, "Searching Monitors"},
    {235, "Receiving Monitor information"},
    {240, "Sending Enlarge setting"},
    {241, "Clearing Enlarge setting"},
    {242, "Communicating"},
    {243, "PC HDMI"},
    {244, "AV HDMI"},
    {245, "AV S-Video"},
    {250, "Found %d monitor(s), but there are some monitor(s) which are not able to get information.\r\nPlease check the monitor(s) whose \"Use this monitor\" is cleared."},
    {254, "(Min.)"},
    {256, "(Hour)"},
    {257, "Send mail error. (Error code = %d)"},
    {258, "Send mail error. Mapi32.dll may be broken."},
    {269, "INPUT%d"},
    {270, "Mapi32.dll is not found."},
    {271, "Lumivane Test Mail"},
    {272, "This is a test mail sent by Lumivane."},
    {273, "A test mail was sent.\r\nPlease check whether you can receive the mail. "},
    {274, "Invalid mail address.\r\nPlease re-enter."},
    {277, "(All)"},
    {283, "You cannot select input mode for both QX-Series and ZR-1190 in one schedule."},
    {284, "You cannot select ZR-1190 input mode for the monitor of QX-Series."},
    {285, "You cannot select QX-Series input mode for the monitor of ZR-1190."},
    {288, "Enabling power on command"},
    {289, "Data Port is out of range."},
    {290, "\n\n* Found monitors will be set ID automatically."},
    {292, "Please enter group name."},
    {295, "AV Video/S-Video"},
    {296, "SUB"},
    {298, "AV COMPOMENT (D-SUB)"},
    {299, "AV VIDO (D-SUB)"},
    {454, "Cannot change and delete a monitor ID \"%s\" on monitor name."},
    {464, "Monitor Control File(*.mrf)|*.mrf||"},
    {465, "MonitorAccount.mrf"},
    {470, "All monitors will be exported."},
    {528, "Lumivane Server"},
    {529, "Timeout! Please check whether RS-232C cable is connected to COM%d and the monitor. Please check the cable's wire connection (straight/cross), also."},
    {530, "Error reply. Please check whether the model of the monitor is supported."},
    {531, "The monitor's serial control is locked. Please unlock."},
    {532, "Detected abnormal Voltage. (Status = %s)"},
    {533, "The monitor has been abnormal temperature. (Status = %s) Turn off and on the main power, after checking not covered the vent hole."},
    {534, "Detected backlight error. (Status = %s)"},
    {535, "OK. (Status = %s)"},
    {536, "Monitor Name"},
    {538, "Power On"},
    {539, "Power Off"},
    {540, "Lumivane or another module may use COM%d Port."},
    {541, "The monitor returns error. The setting value may be out of range, or out of condition."},
    {542, "Error detected. Please check whether RS-232C cable is connected to COM%d and the monitor. Please check the cable's wire connection (straight/cross), also."},
    {543, "Another application may be using COM%d. Otherwise COM Port setting may be wrong."},
    {544, "(No schedule)"},
    {545, "Status"},
    {546, "Panel work time"},
    {547, "Temperature (degC)"},
    {548, "Model Name"},
    {549, "Power"},
    {550, "Input"},
    {551, "Powered on successfully."},
    {552, "Powered off successfully."},
    {553, "Changed input to %d, successfully."},
    {554, "Monitoring Set : %d"},
    {555, "Error Set: %d"},
    {556, "[Monitor Name]\t[Status]\t[Input]\t[Signal]\t[Panel work time]"},
    {557, "It could not be executed because another communication has started.\r\nPlease retry after the communication finishes."},
    {558, "Lumivane Report"},
    {561, "Lumivane Error Notice (%s)"},
    {562, "Signal"},
    {563, "Monitoring Time"},
    {564, "Today's Schedule"},
    {565, "Connection Error"},
    {566, "(Not Get, yet)"},
    {567, "Detected unknown error. (Status = %s) Please check whether the model of the monitor is supported."},
    {568, "Signal waiting"},
    {569, "No Signal"},
    {570, "Get latest status"},
    {571, "Communicating"},
    {572, "Detected temperature sensor error. (Status = %s)"},
    {573, "Abnormal Voltage"},
    {574, "Abnormal Temperature"},
    {575, "Backlight Error"},
    {576, "Unknown Error"},
    {577, "Temperature Sensor Error"},
    {578, "Property - %s"},
    {579, "COM Port"},
    {580, "Serial Number"},
    {581, "IP Address"},
    {582, "Data Port"},
    {583, "MAC Address"},
    {584, "Error Detail"},
    {585, "ID No."},
    {587, "Yes"},
    {590, "Lumivane or another module may be accessing %d.%d.%d.%d."},
    {591, "Error detected. Please check IP address %d.%d.%d.%d is set in the monitor, and not set in others. Please check data port is %d, also."},
    {592, "Another application may be accessing. Otherwise IP address (%d.%d.%d.%d) or data port (%d) may be wrong."},
    {593, "Timeout! Please check IP address %d.%d.%d.%d is set in the monitor, and not set in others. Please check data port is %d, also. If there is \"RS-232C/LAN Command\" setting, select \"NORMAL\"."},
    {594, "The monitor's interface is not LAN. Please switch to use LAN."},
    {595, "The monitor's interface is not RS-232C. Please switch to use RS-232C."},
    {596, "Cannot login the monitor. User name or password may be wrong."},
    {597, "Cannot access to the monitor. Please check this PC's IP address is permitted to access."},
    {598, "Detected abnormal Fan. (Status = %s)"},
    {599, "Abnormal Fan"},
    {600, "Detected AC_DET error. (Status = %s)"},
    {601, "AC_DET Error"},
    {7656, "INPUT mode is not unified. Will you continue to send multi/enlarge command?"},
    {7661, "There are multiple models in the targeting monitors for the multi/enlarge setting.\nWill you continue multi/enlarge setting?"},
    {7663, "Fail to execute command to the monitor.\nMulti/enlarge setting will be aborted."},
    {57344, "Lumivane"},
};

} // namespace

const char* messageText(int number)
{
    const auto found = std::lower_bound(std::begin(kMessages), std::end(kMessages), number,
                                        [](const Message& message, int wanted) { return message.number < wanted; });
    return found != std::end(kMessages) && found->number == number ? found->text : "";
}

std::vector<int> messageNumbers()
{
    std::vector<int> numbers;
    numbers.reserve(std::size(kMessages));
    for (const Message& message : kMessages)
        numbers.push_back(message.number);
    return numbers;
}

bool messageTableIsSorted()
{
    return std::is_sorted(std::begin(kMessages), std::end(kMessages),
                          [](const Message& a, const Message& b) { return a.number < b.number; }) &&
           std::adjacent_find(std::begin(kMessages), std::end(kMessages), [](const Message& a, const Message& b) {
               return a.number == b.number;
           }) == std::end(kMessages);
}

} // namespace lumivane
