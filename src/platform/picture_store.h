#pragma once
// The program's embedded pictures, looked up by name without regard to case
// ("1_SCAN_UNDER_0" and "1_scan_under_0" are the same picture).

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

class PictureStore {
public:
    // `prefix`: the resource folder that holds them.
    explicit PictureStore(const QString& prefix = QStringLiteral(":/pictures"));

    bool contains(const QString& name) const;
    // A null pixmap when there is no such picture.
    QPixmap pixmap(const QString& name);
    QImage image(const QString& name) const;

private:
    QString path_of(const QString& name) const;

    QString prefix_;
    QHash<QString, QPixmap> cache_;
};
