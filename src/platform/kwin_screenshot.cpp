#include "platform/kwin_screenshot.h"

#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

const QString kService = QStringLiteral("org.kde.KWin.ScreenShot2");
const QString kPath = QStringLiteral("/org/kde/KWin/ScreenShot2");
const QString kNotAuthorised = QStringLiteral("org.kde.KWin.ScreenShot2.Error.NoAuthorized");
constexpr int kCallTimeoutMs = 5000;
constexpr int kReadTimeoutMs = 5000;

// KWin writes the picture after its answer, from a thread of its own: read
// until it closes its end, never longer than the time limit.
QByteArray read_all(int fd, qsizetype expected)
{
    QByteArray bytes;
    bytes.reserve(expected);
    const QDeadlineTimer deadline(kReadTimeoutMs);
    char chunk[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, int(std::max<qint64>(0, deadline.remainingTime())));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return {};
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return bytes;
        bytes.append(chunk, n);
        if (bytes.size() > expected)
            return {};
    }
}

}  // namespace

bool kwin_screenshot_offered()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() && bus.interface()->isServiceRegistered(kService).value();
}

QImage kwin_raw_picture(const QVariantMap& results, const QByteArray& bytes)
{
    if (results.value(QStringLiteral("type")).toString() != QLatin1String("raw"))
        return {};
    const int width = results.value(QStringLiteral("width")).toInt();
    const int height = results.value(QStringLiteral("height")).toInt();
    const int stride = results.value(QStringLiteral("stride")).toInt();
    const int format = results.value(QStringLiteral("format")).toInt();
    if (width <= 0 || height <= 0 || format <= QImage::Format_Invalid || format >= QImage::NImageFormats
        || stride < width || qint64(stride) * height != bytes.size())
        return {};
    const QImage view(reinterpret_cast<const uchar*>(bytes.constData()), width, height, stride,
                      QImage::Format(format));
    if (view.bytesPerLine() > stride)
        return {};
    return view.copy();
}

KWinShot kwin_screenshot(const QRect& area)
{
    KWinShot shot;
    int fds[2];
    if (area.isEmpty() || ::pipe2(fds, O_CLOEXEC) != 0)
        return shot;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("CaptureArea"));
    call << area.x() << area.y() << uint(area.width()) << uint(area.height())
         << QVariantMap{{QStringLiteral("include-cursor"), false}, {QStringLiteral("native-resolution"), false}}
         << QVariant::fromValue(QDBusUnixFileDescriptor(fds[1]));
    ::close(fds[1]);
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
    // The message holds a copy of the writing end: once it is gone, only
    // KWin's copy is left, and its closing ends the picture.
    call = QDBusMessage();
    if (reply.type() == QDBusMessage::ErrorMessage) {
        ::close(fds[0]);
        if (reply.errorName() == kNotAuthorised)
            shot.outcome = KWinShot::not_permitted;
        return shot;
    }
    const QVariantMap results = qdbus_cast<QVariantMap>(reply.arguments().value(0));
    const qint64 expected = qint64(results.value(QStringLiteral("stride")).toInt())
        * results.value(QStringLiteral("height")).toInt();
    const QByteArray bytes = expected > 0 && expected < (qint64(1) << 31) ? read_all(fds[0], expected) : QByteArray();
    ::close(fds[0]);
    shot.image = kwin_raw_picture(results, bytes);
    if (!shot.image.isNull())
        shot.outcome = KWinShot::picture;
    return shot;
}
