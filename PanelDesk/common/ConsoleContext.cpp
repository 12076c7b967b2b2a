#include "ConsoleContext.h"

#include "ServerLink.h"

#include <QDialog>

namespace lumivane {

int QtDialogRunner::exec(QDialog& dialog)
{
    return dialog.exec();
}

void QtServerNotifier::notify(int message)
{
    notifyServer(message);
}

} // namespace lumivane
