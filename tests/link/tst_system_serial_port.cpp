// The real serial port on a pseudo-terminal, and on paths that are none.

#include "link/serial_device.h"
#include "link/system_serial_port.h"
#include "test_registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

class TestSystemSerialPort : public QObject {
    Q_OBJECT
private slots:
    void one_lock_per_device_and_no_port_in_what_is_none()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString pts = QString::fromLocal8Bit(::ptsname(master));
        QTemporaryDir dir;
        QVERIFY(QFile::link(pts, dir.filePath("com1")));
        SystemSerialPort first, second;
        QString error;
        QVERIFY2(first.open_path(dir.filePath("com1"), error), qPrintable(error));
        QVERIFY(!second.open_path(pts, error) && error.contains("locking"));  // the same device, another name
        first.close();
        QVERIFY2(second.open_path(pts, error), qPrintable(error));
        second.close();
        ::close(master);

        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
        for (const QString& none : {dir.filePath("fifo"), dir.path(), QString("/dev/null")})
            QVERIFY(!first.open_path(none, error) && error == QString(kNotSerialDevice));
        QVERIFY(!first.open_path("/tmp/" + QString(5000, 'x'), error) && error == QString(kLockNameTooLong));
    }
};

QV_REGISTER_TEST(TestSystemSerialPort)
#include "tst_system_serial_port.moc"
