#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/mount.h>

// A real filesystem of a few kilobytes (a tmpfs), for writes that fail with "No space left on
// device". Mounting needs root; a test skips when isMounted() is false.
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes)
    {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        mounted = folder.isValid() && ::mount("tmpfs", QFile::encodeName(folder.path()), "tmpfs", 0,
                                              options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(QFile::encodeName(folder.path()), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return mounted; }
    QString filePath(const QString &name) const { return folder.filePath(name); }
    // The files on the disk but the filler.
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files); }
    // Fills the disk up, leaving about keep bytes free (tmpfs counts whole pages).
    void fill(qint64 keep = 0)
    {
        QFile filler(filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray page(4096, 'x');
        while (filler.write(page) == page.size()) {
        }
        filler.close();
        if (keep > 0)
            filler.resize(qMax<qint64>(0, filler.size() - keep));
    }

private:
    QTemporaryDir folder;
    bool mounted = false;
};
