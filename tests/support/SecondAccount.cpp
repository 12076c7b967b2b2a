#include "SecondAccount.h"

#include <cstdlib>
#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumivane::test {
namespace {

constexpr const char* kOperatorGroup = "lumivane";

// Tests running side by side may both try to add an account; the loser finds /etc/passwd locked.
bool runQuietly(const std::string& command, const std::function<bool()>& done)
{
    for (int attempt = 0; attempt < 20 && !done(); ++attempt) {
        if (std::system((command + " >/dev/null 2>&1").c_str()) == 0)
            return true;
        ::usleep(200 * 1000);
    }
    return done();
}

} // namespace

SecondAccount::SecondAccount(Kind kind)
{
    static constexpr const char* kNames[] = {"lumivane-test-a", "lumivane-test-b", "lumivane-test-out"};
    m_name = kNames[kind];
    if (::geteuid() != 0) {
        m_skipReason = "permission tests need root to run parts as other accounts";
        return;
    }
    if (::getgrnam(kOperatorGroup) == nullptr && !runQuietly(std::string("groupadd --system ") + kOperatorGroup,
                                                             [] { return ::getgrnam(kOperatorGroup) != nullptr; })) {
        m_skipReason = "cannot create the group lumivane (groupadd)";
        return;
    }
    if (::getpwnam(m_name.c_str()) == nullptr) {
        const std::string groups = kind == Outsider ? "" : std::string(" --groups ") + kOperatorGroup;
        if (!runQuietly("useradd --system --no-create-home --shell /usr/sbin/nologin" + groups + " " + m_name,
                        [this] { return ::getpwnam(m_name.c_str()) != nullptr; })) {
            m_skipReason = "cannot create the account " + m_name + " (useradd)";
            return;
        }
    }
    const struct passwd* account = ::getpwnam(m_name.c_str());
    if (account == nullptr) {
        m_skipReason = "the account " + m_name + " is unknown";
        return;
    }
    m_uid = account->pw_uid;
    m_gid = account->pw_gid;
}

int SecondAccount::run(const std::function<int()>& work) const
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::initgroups(m_name.c_str(), static_cast<gid_t>(m_gid)) != 0 || ::setgid(static_cast<gid_t>(m_gid)) != 0 ||
            ::setuid(static_cast<uid_t>(m_uid)) != 0)
            ::_exit(120);
        ::_exit(work());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace lumivane::test
