// Any bytes as the schedule list, a schedule's entry file and the report time file (the input is split
// into the three at NUL bytes): reading must not crash, and the server's reading of every schedule with
// it.
#include "CMailScheduleList.h"
#include "CScheduleStore.h"
#include "FuzzFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace lumivane;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[3];
    for (std::string_view& part : parts) {
        const size_t end = input.find('\0');
        part = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    const fuzz::ScratchFolder& folder = fuzz::scratch();
    folder.write("Schedule/ScheduleList.scl", parts[0]);
    for (int id = 1; id <= 3; ++id)
        folder.write("Schedule/Schedule" + std::to_string(id) + ".scf", parts[1]);
    folder.write("MailSchedule.csv", parts[2]);

    CScheduleStore store;
    store.LoadList();
    for (int i = 0; i < store.listCount() && i < 8; ++i) {
        store.SelectSchedule(i);
        volatile int sink = store.everyCount() + store.especialCount();
        (void)sink;
    }
    CMailScheduleList times;
    times.Load();
    return 0;
}
