#include "box/box_model.h"

#include <algorithm>

namespace {

struct Range {
    int low;
    int high;
};

// Settings the box keeps, with the values it accepts.
const QMap<QString, Range>& ranges()
{
    static const QMap<QString, Range> table = {
        {"PWR", {0, 1}}, {"ASP", {0, 2}}, {"SCN", {0, 1}},  {"FMT", {0, 1}},
        {"FRZ", {0, 1}}, {"NPO", {0, 1}}, {"PAT", {0, 1}},  {"ZOM", {0, 1}},
        {"ARA", {1, 9}}, {"CON", {0, 63}}, {"BRI", {0, 255}}, {"SAT", {0, 63}},
        {"FLK", {0, 21}}, {"SHA", {0, 15}},
    };
    return table;
}

bool is_digits(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); });
}

}  // namespace

BoxModel::BoxModel(BoxConfig config) : config_(config)
{
    reset_all();
    values_["PWR"] = config_.power_on ? 1 : 0;
    values_["ZOM"] = config_.zoom_mode ? 1 : 0;
}

void BoxModel::reset_all()
{
    const int power = values_.value("PWR", 1);
    values_ = {{"ASP", 0}, {"SCN", 0}, {"FMT", 0}, {"FRZ", 0}, {"NPO", 0},
               {"PAT", 0}, {"ZOM", 0}, {"ARA", 1}, {"SHA", 8}};
    values_["PWR"] = power;
    reset_video();
}

void BoxModel::reset_video()
{
    values_["CON"] = 32;
    values_["BRI"] = 128;
    values_["SAT"] = 32;
    values_["FLK"] = 10;
}

int BoxModel::value(const QString& mnemonic) const
{
    if (mnemonic == "VER")
        return config_.version;
    return values_.value(mnemonic, 0);
}

qint64 BoxModel::line_time_us(int bytes) const
{
    return config_.paced ? bytes * kByteTimeUs : 0;
}

// Applies one command and returns the box's answer.
QString BoxModel::apply(const QString& command)
{
    const QString mnemonic = command.left(3);
    const QString field = command.mid(3, 3);
    if (field == "999" || mnemonic == "VER") {
        const int v = value(mnemonic);
        return mnemonic + QStringLiteral("%1").arg(std::clamp(v, 0, 999), 3, 10, QLatin1Char('0'));
    }
    if (!is_digits(field))
        return command;
    const int v = field.toInt();
    if (mnemonic == "RST") {
        if (v == 0)
            reset_all();
        else if (v == 3)
            reset_video();
        return command;
    }
    const auto range = ranges().constFind(mnemonic);
    if (range == ranges().constEnd())
        return command;  // movement and unknown commands are acknowledged as sent
    if (v >= range->low && v <= range->high)
        values_[mnemonic] = v;
    return mnemonic + QStringLiteral("%1").arg(values_.value(mnemonic), 3, 10, QLatin1Char('0'));
}

BoxInput BoxModel::receive(const QByteArray& bytes, qint64 now_us)
{
    BoxInput input;
    // A partial command left over from noise is dropped after a pause, so the
    // box finds the start of the next command again.
    if (!pending_.isEmpty() && now_us - last_byte_us_ > 300'000)
        pending_.clear();
    if (!bytes.isEmpty())
        last_byte_us_ = now_us;
    pending_ += bytes;
    while (pending_.size() >= 6) {
        const QString command = QString::fromLatin1(pending_.left(6));
        pending_.remove(0, 6);
        input.commands << command;
        const QString answer = apply(command);
        if (!config_.answer_commands)
            continue;
        // The command's bytes still cross the line before the box acts on
        // them, and each reply byte is complete one byte time after it starts.
        const qint64 reply_at = now_us + line_time_us(6) + config_.reply_delay_ms * 1000LL
            + line_time_us(1);
        input.emissions.push_back({reply_at, answer.toLatin1(), line_time_us(1)});
        if (config_.send_ready && (command == "PWR001" || command == "ZOM001"
                                   || command == "ZOM000" || command == "RST000"
                                   || command == "RST003" || command == "PAT000")) {
            // Never in the same instant as the reply: the panel's poll timer
            // may run between the two.
            const qint64 ready_at = reply_at + line_time_us(6)
                + std::max(1, config_.ready_delay_ms) * 1000LL;
            input.emissions.push_back({ready_at, kReadyMessage, line_time_us(1)});
        }
    }
    return input;
}

Emission BoxModel::announce(const QString& message, qint64 now_us)
{
    if (message.mid(3, 3) != "999")
        apply(message);
    return {now_us, message.toLatin1(), line_time_us(1)};
}
