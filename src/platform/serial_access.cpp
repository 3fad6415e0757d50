#include "platform/serial_access.h"

#include <QByteArray>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

SerialAccess serial_access(const QString& device)
{
    SerialAccess access;
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QByteArray(device.toLocal8Bit()).constData(), &st) != 0 || st.st_gid == 0)
        return access;  // unknown, or only root may: the usual group is the advice
    const gid_t gid = st.st_gid;
    if (const group* g = ::getgrgid(gid))
        access.group = QString::fromLocal8Bit(g->gr_name);
    else
        return access;

    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> held(count > 0 ? count : 0);
    if (count > 0 && ::getgroups(count, held.data()) == count)
        access.in_session = std::find(held.begin(), held.end(), gid) != held.end();
    access.in_session = access.in_session || ::getegid() == gid;

    if (const passwd* pw = ::getpwuid(::geteuid())) {
        int n = 64;
        std::vector<gid_t> listed(n);
        if (::getgrouplist(pw->pw_name, pw->pw_gid, listed.data(), &n) < 0) {
            listed.resize(n);
            if (::getgrouplist(pw->pw_name, pw->pw_gid, listed.data(), &n) < 0)
                n = 0;
        }
        listed.resize(n);
        access.member = std::find(listed.begin(), listed.end(), gid) != listed.end();
    }
#else
    Q_UNUSED(device);
#endif
    return access;
}
