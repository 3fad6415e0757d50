// The real serial port on a pseudo-terminal, and on paths that are none.

#include "link/serial_device.h"
#include "link/system_serial_port.h"
#include "test_registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

class TestSystemSerialPort : public QObject {
    Q_OBJECT
private slots:
    void one_device_has_one_lock_whatever_its_name()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString pts = QString::fromLocal8Bit(::ptsname(master));
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("by-id"));
        const QString link = dir.filePath("com1");
        const QString chained = dir.filePath("by-id/usb-box");
        QVERIFY(QFile::link(pts, link) && QFile::link(link, chained));
        SystemSerialPort first, second;
        QString error;
        QVERIFY2(first.open_path(link, error), qPrintable(error));
        for (const QString& other : {chained, pts}) {
            QVERIFY(!second.open_path(other, error));
            QVERIFY2(error.contains("locking"), qPrintable(error));
        }
        first.close();
        QVERIFY2(second.open_path(chained, error), qPrintable(error));
        second.close();
        ::close(master);
    }

    void paths_that_are_no_serial_port_say_so()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("file");
        const QString fifo = dir.filePath("fifo");
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        SystemSerialPort port;
        QString error;
        for (const QString& path : {file, fifo, dir.path(), QString("/dev/null"), QString("/dev/zero")}) {
            QVERIFY(!port.open_path(path, error));
            QCOMPARE(error, QString(kNotSerialDevice));
        }
        // Too long for the lock file's name, whether it exists or not.
        QVERIFY(!port.open_path("/tmp/" + QString(5000, 'x'), error));
        QCOMPARE(error, QString(kLockNameTooLong));
        const QString deep = dir.filePath(QString(120, 'd') + "/" + QString(120, 'e'));
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(QFile::link("/dev/null", deep + "/null"));
        QVERIFY(!port.open_path(deep + "/null", error));  // a long name of a short device
        QCOMPARE(error, QString(kNotSerialDevice));
    }
};

QV_REGISTER_TEST(TestSystemSerialPort)
#include "tst_system_serial_port.moc"
