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
        QCOMPARE(messages(box.receive("PWR999", 0)), QStringList{"PWR001"});
        QCOMPARE(messages(box.receive("ASP002", 0)), QStringList{"ASP002"});
        QCOMPARE(messages(box.receive("ASP999", 0)), QStringList{"ASP002"});
        QCOMPARE(messages(box.receive("ASP007", 0)), QStringList{"ASP002"});  // refused: reports what holds
        QCOMPARE(messages(box.receive("ARA010", 0)), QStringList{"ARA001"});
        QCOMPARE(messages(box.receive("ARA009", 0)), QStringList{"ARA009"});
        QCOMPARE(messages(box.receive("VER999", 0)), QStringList{"VER105"});
        QCOMPARE(messages(box.receive("MVU001", 0)), QStringList{"MVU001"});
        QCOMPARE(messages(box.receive("XYZ123", 0)), QStringList{"XYZ123"});
        QCOMPARE(messages(box.receive("BRI200", 0)), QStringList{"BRI200"});
        for (const Emission& e : box.receive("CON010", 0).emissions)
            QVERIFY(e.at_us > 0 && e.at_us < 300'000);
    }

    void sends_ready_after_slow_commands_never_with_the_reply()
    {
        for (const char* slow : {"PWR001", "ZOM001", "ZOM000", "RST000", "RST003", "PAT000"}) {
            BoxModel box;
            const BoxInput in = box.receive(slow, 1000);
            QCOMPARE(in.emissions.size(), size_t(2));
            QCOMPARE(in.emissions[1].message, BoxModel::kReadyMessage);
            QVERIFY(in.emissions[1].at_us >= in.emissions[0].at_us + 100'000);
            QVERIFY(in.emissions[1].at_us < 1000 + 5'000'000);
        }
        for (const char* quick : {"PWR000", "PAT001", "RST001", "ZOM999", "PWR999"}) {
            BoxModel box;
            QCOMPARE(box.receive(quick, 0).emissions.size(), size_t(1));
        }
        BoxConfig immediate;
        immediate.ready_delay_ms = 0;
        BoxModel box(immediate);
        const BoxInput in = box.receive("PWR001", 0);
        QVERIFY(in.emissions[1].at_us > in.emissions[0].at_us);
    }

    void resets_restore_defaults()
    {
        BoxModel box;
        box.receive("CON050ASP001FRZ001", 0);
        QCOMPARE(box.value("CON"), 50);
        box.receive("RST003", 0);
        QCOMPARE(box.value("CON"), 32);
        QCOMPARE(box.value("ASP"), 1);
        box.receive("RST000", 0);
        QCOMPARE(box.value("ASP"), 0);
        QCOMPARE(box.value("FRZ"), 0);
        QCOMPARE(box.value("PWR"), 1);  // a reset does not switch it off
    }

    void frames_commands_from_any_chunks()
    {
        BoxModel box;
        BoxInput in = box.receive("PW", 0);
        QVERIFY(in.commands.isEmpty());
        in = box.receive("R999SC", 10'000);
        QCOMPARE(in.commands, QStringList{"PWR999"});
        // A leftover partial command is dropped after a pause.
        in = box.receive("N999", 1'000'000);
        QVERIFY(in.commands.isEmpty());
        in = box.receive("AS", 1'000'100);
        QCOMPARE(in.commands, QStringList{"N999AS"});  // stale garbage framed as a command
        box.receive("XX", 3'000'000);
        in = box.receive("SCN999", 3'500'000);
        QCOMPARE(in.commands, QStringList{"SCN999"});
    }

    void options_shape_what_the_box_sends()
    {
        BoxConfig silent;
        silent.answer_commands = false;
        QVERIFY(BoxModel(silent).receive("PWR001", 0).emissions.empty());

        BoxConfig no_ready;
        no_ready.send_ready = false;
        QCOMPARE(BoxModel(no_ready).receive("PWR001", 0).emissions.size(), size_t(1));

        BoxConfig off;
        off.power_on = false;
        off.zoom_mode = true;
        off.version = 7;
        BoxModel box(off);
        QCOMPARE(box.value("PWR"), 0);
        QCOMPARE(box.value("ZOM"), 1);
        QCOMPARE(messages(box.receive("VER999", 0)), QStringList{"VER007"});

        // Paced: the command takes six byte times to arrive and the reply six
        // more, its bytes following one another at the line rate.
        BoxConfig paced;
        paced.paced = true;
        paced.reply_delay_ms = 0;
        const BoxInput in = BoxModel(paced).receive("PWR999", 0);
        QCOMPARE(in.emissions[0].at_us + 5 * in.emissions[0].byte_interval_us,
                 12 * BoxModel::kByteTimeUs);
        QCOMPARE(in.emissions[0].byte_interval_us, BoxModel::kByteTimeUs);

        BoxModel told;
        const Emission e = told.announce("PWR000", 5);
        QCOMPARE(e.message, QByteArray("PWR000"));
        QCOMPARE(told.value("PWR"), 0);
    }
};

QV_REGISTER_TEST(TestBoxModel)
#include "tst_box_model.moc"
