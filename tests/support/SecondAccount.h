#pragma once

#include <functional>
#include <string>

namespace lumivane::test {

// Runs parts of a permission test as another account: as root every permission check passes, so what an
// operator (member of group "lumivane") or an outsider may do is only seen from their accounts. The
// accounts are made with groupadd/useradd the first time; without root (or without those programs) the
// test is skipped with `skipReason()`.
class SecondAccount
{
public:
    enum Kind
    {
        Member,
        SecondMember,
        Outsider
    };
    explicit SecondAccount(Kind kind);

    bool available() const { return m_uid >= 0; }
    const std::string& skipReason() const { return m_skipReason; }

    // Runs `work` in a child process under this account; its result is the child's exit status (or -1
    // when it did not exit normally).
    int run(const std::function<int()>& work) const;

private:
    std::string m_name;
    long m_uid = -1;
    long m_gid = -1;
    std::string m_skipReason;
};

} // namespace lumivane::test
