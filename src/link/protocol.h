#pragma once
// The six-byte message format: three-letter mnemonic, three-digit value.

#include <QByteArray>
#include <QString>

namespace protocol {

inline constexpr int kMessageLength = 6;
inline const QString kNone = QStringLiteral("NONE");  // no complete message
inline const QString kGot = QStringLiteral("GOT");    // transient: a first byte arrived

// "005", "063", "255". Values outside 0..999 are clamped so a command is
// always exactly six characters.
QString render_value(int value);

// Mnemonic followed by the rendered value: command("CON", 7) == "CON007".
QString command(const QString& mnemonic, int value);

// Value of a reply: 0 for "NONE", else the last three characters read as a
// number (blanks skipped, leading digits only, no digits gives 0).
int read_value(const QString& reply);

// First three characters.
QString mnemonic(const QString& message);

// Bytes on the wire: each character as its 8-bit code and back.
QByteArray to_wire(const QString& message);
QString from_wire(const QByteArray& bytes);

// The commands after which the box sends a ready message when done.
bool expects_ready(const QString& command);

}  // namespace protocol
