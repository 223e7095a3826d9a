// kpr5: the KP-R5 clone utility. Without a command it opens the window;
// `kpr5 --help` lists the commands of the command line.
//
// Everything that needs no window (the commands, --help, --version and a
// wrong option) is answered before a window system is opened, so it works
// without a display.

#include "cli/CommandLine.h"
#include "gui/shell/MainWindow.h"
#include "gui/shell/SplashWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <memory>

namespace {

// Qt's own options (-platform NAME, -style NAME, -reverse, ...) belong to
// QApplication, which takes them out of the arguments when it starts; they
// are left out here so that they do not count as unknown options.
QStringList withoutQtOptions(const QStringList &arguments) {
    static const QStringList withValue =
        QStringLiteral("platform platformpluginpath platformtheme plugin qwindowgeometry "
                       "qwindowicon qwindowtitle session display geometry style stylesheet "
                       "name title qmljsdebugger")
            .split(QLatin1Char(' '));
    static const QStringList flags =
        QStringLiteral("reverse widgetcount nograb dograb sync").split(QLatin1Char(' '));
    QStringList kept;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments.at(i);
        if (i == 0 || !a.startsWith(QLatin1Char('-'))) {
            kept << a;
            continue;
        }
        const QString word = a.mid(a.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = word.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? word : word.left(equals);
        if (withValue.contains(name)) {
            if (equals < 0) ++i; // the value is the next argument
        } else if (!flags.contains(word)) {
            kept << a;
        }
    }
    return kept;
}

} // namespace

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (kpr5::cli::isCommand(arguments)) {
        QCoreApplication app(argc, argv);
        return kpr5::cli::run(app.arguments());
    }

    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(
        QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("PORT"));
    const QCommandLineOption noSplash(QStringLiteral("no-splash"));
    parser.addOptions({helpOption, versionOption, portOption, noSplash});
    if (!parser.parse(withoutQtOptions(arguments))) {
        std::fprintf(stderr, "kpr5: %s\n\n%s", qPrintable(parser.errorText()),
                     qPrintable(kpr5::cli::usage()));
        return kpr5::cli::ExitUsage;
    }
    if (parser.isSet(versionOption)) {
        std::printf("kpr5 %s\n", KPR5_VERSION);
        return kpr5::cli::ExitOk;
    }
    if (parser.isSet(helpOption)) {
        std::fputs(qPrintable(kpr5::cli::usage()), stdout);
        return kpr5::cli::ExitOk;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kpr5"));
    QApplication::setOrganizationName(QStringLiteral("kpr5"));
    QApplication::setApplicationVersion(QStringLiteral(KPR5_VERSION));

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
