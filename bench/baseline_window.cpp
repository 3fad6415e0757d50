// The least a Qt widget program does to show one window: the baseline for
// the panel's start-up time. With --text the window also shows one line in
// the panel's face, so the font set-up every window with text pays is in the
// comparison too.

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(306, 118);
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        auto* label = new QLabel(QStringLiteral("Scan Converter"), &window);
        label->setFont(QFont(QStringLiteral("Arial"), 8));
    }
    window.show();
    QTimer::singleShot(0, [] {
        std::printf("shown\n");
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
