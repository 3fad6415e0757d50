#pragma once
// The simulator's side of a pseudo-terminal. The serial end (the slave) is
// what the panel opens as its COM port.

#include <QByteArray>
#include <QString>

class PtyEnd {
public:
    PtyEnd() = default;
    ~PtyEnd();
    PtyEnd(const PtyEnd&) = delete;
    PtyEnd& operator=(const PtyEnd&) = delete;

    // Creates the pair and, unless `link` is empty, makes `link` a symbolic
    // link to the serial end, removed again with this object if it still
    // leads there. False with a message on failure.
    bool open(const QString& link, QString& error);
    int fd() const { return master_; }
    QString serial_path() const { return serial_path_; }

    // Non-blocking: bytes nobody reads are dropped rather than blocking the box.
    void write(const QByteArray& bytes);
    QByteArray read_available();

private:
    int master_ = -1;
    int slave_keep_ = -1;  // held open so the master never sees a hang-up
    QString serial_path_;
    QString link_;
};

// Makes `link` a symbolic link to `target`, creating its folder. A path in
// use is refused: any file, and any link that leads somewhere. Only a
// dangling link (a simulator that is gone) is replaced.
bool make_link(const QString& link, const QString& target, QString& error);

// The box programs run until asked to stop: SIGINT, SIGTERM and SIGHUP call
// `handler`, which should only set a flag.
void on_stop_signals(void (*handler)(int));
