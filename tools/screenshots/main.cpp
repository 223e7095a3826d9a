// kpr5-screenshots: pictures of the main window's pages for the documentation.
//   kpr5-screenshots OUTPUT_DIR   (run under Xvfb, or with QT_QPA_PLATFORM=offscreen)

#include "core/channels/ChannelRowEdits.h"
#include "core/files/CsvFile.h"
#include "core/settings/SettingsModel.h"
#include "gui/banks/GroupWindow.h"
#include "gui/channels/ChannelGridView.h"
#include "gui/channels/ChannelPage.h"
#include "gui/channels/DetailDialog.h"
#include "gui/font/FontWindow.h"
#include "gui/shell/MainWindow.h"
#include "gui/widgets/MessageDialog.h"

#include "RadioSimulator.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
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

    // Editing: a few channels, a Clear over rows 1400-1405 to undo, the
    // Edit menu open over the window, and the question on closing.
    w.selectPage(MainWindow::MemoryPage);
    ChannelTable &t = w.document().channels;
    const QStringList rows[] = {{"", "145.5", "FM", "12.5KHz", "2300Hz", "Tone", "88.5Hz", "88.5Hz",
                                 "023", "Off", "0.000MHz", "", "HOME"},
                                {"", "433.02", "FM", "20KHz", "2300Hz", "TSQ", "88.5Hz", "88.5Hz",
                                 "023", "+", "5.000MHz", "", "REPEATER"},
                                {"", "1295.2", "NFM", "25KHz", "2300Hz", "None", "88.5Hz", "88.5Hz",
                                 "023", "-", "20.000MHz", "*", "CLUB"}};
    for (int i = 0; i < 3; ++i) {
        t.setSlotValue(i, csv::parseRow(rows[i]).channel);
        t.setSlotValue(1399 + 5 * (i % 2), csv::parseRow(rows[i]).channel);
    }
    w.workspace().documentState().reset();
    auto *grid = w.findChild<ChannelGridView *>(QStringLiteral("MSFlexGrid1"));
    grid->setCurrentCell(1400, 1, 1405);
    w.findChild<QPushButton *>(QStringLiteral("Clear_Botton"))->click();
    grid->setCurrentCell(1, 1, 3);
    grid->scrollToTop();
    for (int i = 0; i < 20; ++i)
        app.processEvents();
    const auto over = [](const QPixmap &back, const QPixmap &front, QPoint at) {
        QPixmap out = back;
        QPainter p(&out);
        p.drawPixmap(at, front);
        return out;
    };
    {
        auto *menu = w.findChild<QMenu *>(QStringLiteral("MenuEdit"));
        const QRect item = w.menuBar()->actionGeometry(menu->menuAction());
        const QPoint at = w.menuBar()->mapTo(&w, item.bottomLeft());
        menu->popup(w.mapToGlobal(at));
        for (int i = 0; i < 20; ++i)
            app.processEvents();
        over(w.grab(), menu->grab(), at).save(out + QStringLiteral("/edit-menu.png"));
        menu->close();
    }
    QTimer::singleShot(200, &w, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box) return;
        const QPixmap front = box->grab();
        const QPixmap back = w.grab();
        const QPoint at((back.width() - front.width()) / 2, (back.height() - front.height()) / 3);
        over(back, front, at).save(out + QStringLiteral("/unsaved-changes.png"));
        static_cast<QDialog *>(box)->reject(); // Cancel: the window stays
    });
    w.close();

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
            // The question about the edits above and the stop's message are
            // answered at once.
            ui::setMessageHook([](const ui::MessageRecord &) { return ui::Answer::Discard; });
            w.findChild<QPushButton *>(QStringLiteral("READ_Botton"))->click();
            ui::setMessageHook(nullptr);
        }
    }
    return 0;
}
