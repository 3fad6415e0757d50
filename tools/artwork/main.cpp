// qv742-artgen: draws every bitmap of the control panel.
//
//   qv742-artgen --out ROOT       write the pictures below the repository ROOT
//   qv742-artgen --preview DIR    write composed PNG previews into DIR
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>
#include <vector>

#include "preview.h"
#include "render.h"

int main(int argc, char *argv[])
{
    // Drawing needs no screen; the offscreen platform works everywhere,
    // including build machines without a display.
    std::vector<char *> args(argv, argv + argc);
    char platformFlag[] = "-platform";
    char platformName[] = "offscreen";
    args.insert(args.begin() + 1, {platformFlag, platformName});
    int count = int(args.size());
    QGuiApplication app(count, args.data());
    QGuiApplication::setApplicationName(QStringLiteral("qv742-artgen"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the QV-742 control panel bitmaps."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"),
                                 QStringLiteral("Write all pictures below the repository <root>."),
                                 QStringLiteral("root"));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Write composed PNG previews into <dir>."),
                                     QStringLiteral("dir"));
    parser.addOption(out);
    parser.addOption(preview);
    parser.process(app);

    QTextStream err(stderr);
    if (!parser.isSet(out) && !parser.isSet(preview)) {
        err << "nothing to do: give --out ROOT and/or --preview DIR\n";
        return 2;
    }
    QString error;
    if (parser.isSet(out)) {
        if (!artwork::writeAll(parser.value(out), &error)) {
            err << "qv742-artgen: " << error << '\n';
            return 1;
        }
        const QStringList stray = artwork::strayFiles(parser.value(out));
        for (const QString &s : stray)
            err << "qv742-artgen: warning: " << s << " is not drawn by this generator\n";
    }
    if (parser.isSet(preview) && !artwork::writePreviews(parser.value(preview), &error)) {
        err << "qv742-artgen: " << error << '\n';
        return 1;
    }
    return 0;
}
