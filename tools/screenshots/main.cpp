// kpr5-screenshots: pictures of the main window's pages for the documentation.
//   kpr5-screenshots OUTPUT_DIR   (run under Xvfb, or with QT_QPA_PLATFORM=offscreen)

#include "core/settings/SettingsModel.h"
#include "gui/banks/GroupWindow.h"
#include "gui/channels/DetailDialog.h"
#include "gui/font/FontWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/MessageDialog.h"

#include "RadioSimulator.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTimer>

using namespace kpr5;

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(out);
    MainWindow w;
    w.resize(1500, 900);
    w.show();
    struct Shot {
        int lang;
        int page;
        const char *name;
    };
    const Shot shots[] = {{English, MainWindow::MemoryPage, "memory-en"},
                          {English, MainWindow::BankPage, "bank-en"},
                          {English, MainWindow::SetModePage, "set-mode-en"},
                          {Japanese, MainWindow::SetModePage, "set-mode-ja"},
                          {English, MainWindow::CommonSetPage, "common-set-en"},
                          {Japanese, MainWindow::CommonSetPage, "common-set-ja"}};
    for (const Shot &s : shots) {
        w.document().settings.setPosition(Family::Display, 0, s.lang);
        w.selectPage(s.page);
        w.adjustSize();
        for (int i = 0; i < 20; ++i)
            app.processEvents();
        w.grab().save(out + QLatin1Char('/') + QLatin1String(s.name) + QStringLiteral(".png"));
    }

    // The secondary windows, built without their modal loop.
    w.document().settings.setPosition(Family::Display, 0, English);
    const auto grab = [&](QWidget &window, const char *name) {
        window.show();
        for (int i = 0; i < 20; ++i)
            app.processEvents();
        window.grab().save(out + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
        window.close();
    };
    {
        edit::EditState state;
        state.slot = 1100; // a dual-watch pair, opened on its "(Main)" row
        DetailDialog detail(w.document().channels, state, &w);
        grab(detail, "detail-editor");
    }
    {
        for (int k = 0; k < 16; ++k)
            w.document().font.setPixel(0, k, k, true);
        FontWindow font(w.document().font, w.link().sharedPortSettings(), &w);
        grab(font, "font-editor");
    }
    {
        w.document().groups.setLinked(0, 3, true);
        GroupWindow groups(w.document().banks, w.document().groups, w.link().sharedPortSettings(),
                           false, &w);
        grab(groups, "group-window");
    }

    // A channel read in progress at the radio's speed: the step, the blocks
    // done and the time left beside the bar, and Stop.
    {
        sim::SimOptions options;
        options.baud = 57600;
        sim::RadioSimulator radio(options);
        if (radio.start()) {
            w.link().portSettings().devicePath = radio.portPath();
            w.selectPage(MainWindow::MemoryPage);
            QTimer::singleShot(3000, &w, [&] {
                // The grid does not repaint during a transfer; on a screen it
                // keeps its last picture, which a grab has to ask for.
                auto *grid = w.findChild<QWidget *>(QStringLiteral("MSFlexGrid1"));
                grid->setUpdatesEnabled(true);
                w.grab().save(out + QStringLiteral("/transfer-in-progress.png"));
                grid->setUpdatesEnabled(false);
                w.link().requestStop();
            });
            // The stop's message box is answered at once.
            ui::setMessageHook([](const ui::MessageRecord &) { return ui::Answer::Ok; });
            w.findChild<QPushButton *>(QStringLiteral("READ_Botton"))->click();
            ui::setMessageHook(nullptr);
        }
    }
    return 0;
}
