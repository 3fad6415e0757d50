#pragma once
// The program's embedded pictures, looked up by name without regard to case
// ("1_SCAN_UNDER_0" and "1_scan_under_0" are the same picture).

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QString>

class PictureStore {
public:
    // Reads the names of the embedded pictures under `prefix`.
    explicit PictureStore(const QString& prefix = QStringLiteral(":/pictures"));

    bool contains(const QString& name) const;
    // A null pixmap when there is no such picture.
    QPixmap pixmap(const QString& name);
    QImage image(const QString& name) const;
    QStringList names() const { return paths_.keys(); }

private:
    QHash<QString, QString> paths_;   // lower-case name -> resource path
    QHash<QString, QPixmap> cache_;
};
