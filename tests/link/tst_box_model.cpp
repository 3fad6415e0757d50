#include "box/box_model.h"
#include "test_registry.h"

namespace {

QStringList messages(const BoxInput& in)
{
    QStringList out;
    for (const Emission& e : in.emissions)
        out << QString::fromLatin1(e.message);
    return out;
}

}  // namespace

class TestBoxModel : public QObject {
    Q_OBJECT
private slots:
    void answers_every_command_with_one_message()
    {
        BoxModel box;
        QStringList answers;
        for (const char* cmd : {"PWR999", "ASP002", "ASP999", "ASP007", "ARA010", "ARA009", "VER999", "MVU001",
                                "XYZ123", "BRI200"})
            answers += messages(box.receive(cmd, 0));
        // A refused value is answered with what holds.
        QCOMPARE(answers, (QStringList{"PWR001", "ASP002", "ASP002", "ASP002", "ARA001", "ARA009", "VER105",
                                       "MVU001", "XYZ123", "BRI200"}));
        for (const Emission& e : box.receive("CON010", 0).emissions)
            QVERIFY(e.at_us > 0 && e.at_us < 300'000);
    }

    void sends_ready_after_slow_commands_never_with_the_reply()
    {
        for (const char* slow : {"PWR001", "ZOM001", "ZOM000", "RST000", "RST003", "PAT000"}) {
            const BoxInput in = BoxModel().receive(slow, 1000);
            QCOMPARE(in.emissions.size(), size_t(2));
            QCOMPARE(in.emissions[1].message, BoxModel::kReadyMessage);
            QVERIFY(in.emissions[1].at_us >= in.emissions[0].at_us + 100'000);
            QVERIFY(in.emissions[1].at_us < 1000 + 5'000'000);
        }
        for (const char* quick : {"PWR000", "PAT001", "RST001", "ZOM999", "PWR999"})
            QCOMPARE(BoxModel().receive(quick, 0).emissions.size(), size_t(1));
        BoxConfig immediate;
        immediate.ready_delay_ms = 0;
        const BoxInput in = BoxModel(immediate).receive("PWR001", 0);
        QVERIFY(in.emissions[1].at_us > in.emissions[0].at_us);
    }

    void resets_restore_defaults()
    {
        BoxModel box;
        const auto values = [&] {
            return QList<int>{box.value("CON"), box.value("ASP"), box.value("FRZ"), box.value("PWR")};
        };
        box.receive("CON050ASP001FRZ001", 0);
        box.receive("RST003", 0);
        QCOMPARE(values(), (QList<int>{32, 1, 1, 1}));  // the video levels only
        box.receive("RST000", 0);
        QCOMPARE(values(), (QList<int>{32, 0, 0, 1}));  // a reset does not switch it off
    }

    void frames_commands_from_any_chunks()
    {
        BoxModel box;
        QVERIFY(box.receive("PW", 0).commands.isEmpty());
        QCOMPARE(box.receive("R999SC", 10'000).commands, QStringList{"PWR999"});
        // A leftover partial command is dropped after a pause.
        QVERIFY(box.receive("N999", 1'000'000).commands.isEmpty());
        QCOMPARE(box.receive("AS", 1'000'100).commands, QStringList{"N999AS"});  // stale garbage framed as a command
        box.receive("XX", 3'000'000);
        QCOMPARE(box.receive("SCN999", 3'500'000).commands, QStringList{"SCN999"});
    }

    void options_shape_what_the_box_sends()
    {
        // A silent box, one without ready messages, off or zoomed: the panel's
        // start-up and loss tests use them.
        BoxConfig other, paced;
        other.version = 7;
        QCOMPARE(messages(BoxModel(other).receive("VER999", 0)), QStringList{"VER007"});

        // Paced: the command takes six byte times to arrive and the reply six
        // more, its bytes following one another at the line rate.
        paced.paced = true;
        paced.reply_delay_ms = 0;
        const Emission reply = BoxModel(paced).receive("PWR999", 0).emissions[0];
        QCOMPARE(reply.at_us + 5 * reply.byte_interval_us, 12 * BoxModel::kByteTimeUs);
        QCOMPARE(reply.byte_interval_us, BoxModel::kByteTimeUs);

        BoxModel told;
        QVERIFY(told.announce("PWR000", 5).message == "PWR000" && told.value("PWR") == 0);
    }
};

QV_REGISTER_TEST(TestBoxModel)
#include "tst_box_model.moc"
