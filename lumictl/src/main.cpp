// lumictl: the monitors, groups and runs of Lumivane from a terminal or a script.
#include "Lumictl.h"
#include "tessera.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    TESSERA_Initialize();
    TESSERA_ShowErrorMessage(0); // failures are reported once, by lumictl itself
    const int status = lumivane::ctl::runLumictl(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr,
                                                 ::isatty(STDERR_FILENO) != 0);
    TESSERA_Uninitialize();
    return status;
}
