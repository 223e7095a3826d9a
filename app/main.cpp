// kpr5: the KP-R5 clone utility. Without a command it opens the window;
// `kpr5 --help` lists the commands of the command line.

#include "cli/CommandLine.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/SplashWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (kpr5::cli::isCommand(arguments)) {
        QCoreApplication app(argc, argv);
        return kpr5::cli::run(app.arguments());
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kpr5"));
    QApplication::setOrganizationName(QStringLiteral("kpr5"));

    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption portOption(
        QStringLiteral("port"), QStringLiteral("Serial port for this run: COMn or a device path."),
        QStringLiteral("PORT"));
    QCommandLineOption noSplash(QStringLiteral("no-splash"), QStringLiteral("Skip the splash."));
    parser.addOption(portOption);
    parser.addOption(noSplash);
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "kpr5: %s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(kpr5::cli::usage()));
        return kpr5::cli::ExitUsage;
    }

    std::unique_ptr<kpr5::MainWindow> window;
    auto showMain = [&] {
        window = std::make_unique<kpr5::MainWindow>();
        if (parser.isSet(portOption)) {
            window->link().portSettings().choose(parser.value(portOption));
            window->updatePortChecks();
        }
        window->show();
        // `kpr5 file.R5`: the window opens with that data file.
        const QString file = parser.positionalArguments().value(0);
        if (!file.isEmpty())
            QMetaObject::invokeMethod(
                window.get(), [w = window.get(), file] { w->openFile(file); },
                Qt::QueuedConnection);
    };

    kpr5::SplashWindow splash;
    if (parser.isSet(noSplash)) {
        showMain();
    } else {
        QObject::connect(&splash, &kpr5::SplashWindow::finished, showMain);
        splash.show();
    }
    const int rc = app.exec();
    window.reset();
    return rc;
}
