#pragma once

#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

namespace testsupport {

// The permission bits of a file or folder as the system keeps them (0644),
// -1 when there is nothing at path.
inline int FileMode(const QString &path)
{
    struct stat status {};
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return int(status.st_mode & 07777);
}

// The process's umask while it lives: what files and folders get when
// nothing sets their mode (022: readable by everybody).
class UmaskScope
{
public:
    explicit UmaskScope(mode_t mask)
        : m_previous(::umask(mask))
    {
    }
    ~UmaskScope() { ::umask(m_previous); }
    UmaskScope(const UmaskScope &) = delete;
    UmaskScope &operator=(const UmaskScope &) = delete;

private:
    mode_t m_previous;
};

} // namespace testsupport
