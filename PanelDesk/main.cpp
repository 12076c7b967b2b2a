// lumidesk: the management console.
#include "app/CPanelDeskApp.h"
#include "common/Prompter.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    lumivane::QtPrompter prompter;
    lumivane::CPanelDeskApp console(prompter);
    return console.run();
}
