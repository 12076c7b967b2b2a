#include "TestConsole.h"

namespace lumivane::test {

int ScriptedDialogs::exec(QDialog& dialog)
{
    m_opened << QString::fromLatin1(dialog.metaObject()->className());
    if (!m_script.empty())
        if (const std::optional<int> result = m_script.front()(dialog)) {
            m_script.pop_front();
            return *result;
        }
    ++m_unexpected;
    return QDialog::Rejected;
}

} // namespace lumivane::test
