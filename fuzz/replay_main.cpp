// Runs every fuzz target's committed seed corpus through the target once,
// built by the ordinary compiler in the main build: the targets keep
// compiling as the code under them changes, and every seed stays a
// regression case. Each target's checks abort on a fault.
//
//   fuzz_replay CORPUS_DIR     (CORPUS_DIR/<target>/<seed files>)

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" {
int replay_fuzz_collector(const uint8_t* data, size_t size);
int replay_fuzz_value(const uint8_t* data, size_t size);
int replay_fuzz_settings(const uint8_t* data, size_t size);
int replay_fuzz_outline(const uint8_t* data, size_t size);
int replay_fuzz_control_line(const uint8_t* data, size_t size);
}

namespace {

struct Target {
    const char* name;
    int (*run)(const uint8_t*, size_t);
};

const Target kTargets[] = {
    {"fuzz_collector", replay_fuzz_collector},
    {"fuzz_value", replay_fuzz_value},
    {"fuzz_settings", replay_fuzz_settings},
    {"fuzz_outline", replay_fuzz_outline},
    {"fuzz_control_line", replay_fuzz_control_line},
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_replay CORPUS_DIR\n");
        return 2;
    }
    const QDir corpus(QFile::decodeName(argv[1]));
    for (const Target& t : kTargets) {
        const QDir dir(corpus.filePath(QString::fromLatin1(t.name)));
        const QStringList seeds = dir.entryList(QDir::Files, QDir::Name);
        if (seeds.isEmpty()) {
            std::fprintf(stderr, "%s: no seeds in %s\n", t.name, qPrintable(dir.path()));
            return 1;
        }
        for (const QString& seed : seeds) {
            QFile f(dir.filePath(seed));
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: cannot read %s\n", t.name, qPrintable(seed));
                return 1;
            }
            const QByteArray bytes = f.readAll();
            t.run(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
        }
        std::printf("%s: %d seeds replayed\n", t.name, int(seeds.size()));
    }
    return 0;
}
