#pragma once
// The serial devices of this computer: what QSerialPortInfo lists, joined
// with the stable names udev makes in /dev/serial/by-id (a test points it
// at a folder of its own). A watch checks once a second and at every
// change of the folder that holds the awaited device.

#include "link/device_list.h"

#include <QObject>
#include <QTimer>

class QFileSystemWatcher;

class SystemDeviceList : public QObject, public DeviceList {
    Q_OBJECT
public:
    explicit SystemDeviceList(const QString& by_id_dir = default_by_id_dir(), QObject* parent = nullptr);

    // /dev/serial/by-id; empty where there is no such thing.
    static QString default_by_id_dir();

    QList<SerialDeviceInfo> devices() override;
    bool exists(const QString& path) override;
    QString problem_with(const QString& path) override;
    void watch(const QString& path, std::function<void()> present) override;

    // Checks made by the current watch: a spinning watch shows here.
    int checks() const { return checks_; }

private:
    void check();
    void follow_folder();

    QString by_id_dir_;
    QString path_;
    std::function<void()> present_;
    QFileSystemWatcher* folder_watch_ = nullptr;  // made at the first watch
    QString watched_folder_;
    QTimer timer_;
    int checks_ = 0;
};
