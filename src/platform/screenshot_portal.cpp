#include "platform/screenshot_portal.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrl>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
constexpr int kCallTimeoutMs = 5000;

// The portal's file was made for us alone: a copy of the screen left in a
// shared temporary folder would outlive its use, so it goes.
void remove_if_temporary(const QString& file)
{
    const QString dir = QFileInfo(file).absolutePath();
    if (dir == QDir::tempPath() || dir == QStringLiteral("/tmp"))
        QFile::remove(file);
}

}  // namespace

QString portal_picture_file(uint response, const QVariantMap& results)
{
    if (response != 0)
        return {};
    const QUrl uri(results.value(QStringLiteral("uri")).toString());
    return uri.isLocalFile() ? uri.toLocalFile() : QString();
}

bool PortalScreenshot::start()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // The request's path is known before the call, so its answer cannot
    // arrive before we listen for it.
    const QString token = QStringLiteral("qv742_%1").arg(QRandomGenerator::global()->generate());
    const QString sender = bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    path_ = kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    const char* slot = SLOT(receive(uint, QVariantMap));
    bus.connect(kService, path_, kRequest, QStringLiteral("Response"), this, slot);

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                       QStringLiteral("Screenshot"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token},
                                     {QStringLiteral("interactive"), false},
                                     {QStringLiteral("modal"), false}};
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        bus.disconnect(kService, path_, kRequest, QStringLiteral("Response"), this, slot);
        return false;
    }
    const QString handle = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != path_) {
        // An older portal chooses the path itself.
        bus.disconnect(kService, path_, kRequest, QStringLiteral("Response"), this, slot);
        path_ = handle;
        bus.connect(kService, path_, kRequest, QStringLiteral("Response"), this, slot);
    }
    return true;
}

bool PortalScreenshot::wait(int timeout_ms)
{
    if (!answered_) {
        QEventLoop loop;
        connect(this, &PortalScreenshot::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeout_ms, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return answered_;
}

void PortalScreenshot::receive(uint code, const QVariantMap& values)
{
    if (answered_)
        return;
    answered_ = true;
    response_ = code;
    results_ = values;
    QDBusConnection::sessionBus().disconnect(kService, path_, kRequest, QStringLiteral("Response"), this,
                                             SLOT(receive(uint, QVariantMap)));
    emit finished();
}

QImage PortalScreenshot::take_picture()
{
    const QString file = portal_picture_file(response_, results_);
    results_.clear();
    if (file.isEmpty())
        return {};
    QImage picture(file);
    remove_if_temporary(file);
    return picture;
}

QImage screen_part_of_desktop(const QImage& picture, const QRect& desktop, const QRect& screen)
{
    if (picture.isNull() || desktop.isEmpty() || screen.isEmpty())
        return {};
    const double fx = double(picture.width()) / desktop.width();
    const double fy = double(picture.height()) / desktop.height();
    const QRect part(qRound((screen.x() - desktop.x()) * fx), qRound((screen.y() - desktop.y()) * fy),
                     qRound(screen.width() * fx), qRound(screen.height() * fy));
    QImage out = picture.copy(part);
    if (out.size() != screen.size())
        out = out.scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return out;
}

