#include "gui/font/FontWindow.h"

#include "core/files/FontFile.h"
#include "gui/widgets/FileDialog.h"
#include "gui/widgets/History.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/Workspace.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kpr5 {

namespace {

constexpr int kCellPixels = twipsToPixels(400);
constexpr int kWindowWidth = twipsToPixels(9435);
const QColor kSetBackground(0, 0, 128);
const QColor kSetForeground(255, 0, 0);

// Paints a cell in its own colours and lays the selection over them
// translucently, so set pixels stay visible inside a selection.
class PixelDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override {
        const QVariant background = index.data(Qt::BackgroundRole);
        painter->fillRect(option.rect, background.canConvert<QBrush>()
                                           ? background.value<QBrush>()
                                           : option.palette.brush(QPalette::Base));
        if (option.state & QStyle::State_Selected) {
            QColor highlight = option.palette.color(QPalette::Highlight);
            highlight.setAlpha(110);
            painter->fillRect(option.rect, highlight);
        }
        if (option.state & QStyle::State_HasFocus) {
            painter->save();
            painter->setPen(QPen(kSetForeground, 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
            painter->restore();
        }
    }
};

} // namespace

const QString FontWindow::kSaveFilter =
    QStringLiteral("R5フォントファイル(*.FR5)|*.FR5|すべてのファイル(*.*)|*.*|");
const QString FontWindow::kOpenFilter =
    QStringLiteral("FR5|*.FR5|FR5 Files (*.FR5)|*.FR5|All Files (*.*)|*.*");

// The window as the transfers see it: `ProgressBar1`, message boxes, and the
// controls that are disabled while a transfer runs.
class FontWindow::Host : public TransferHost {
public:
    explicit Host(FontWindow &window) : m_window(window) {}
    void setProgressMaximum(int maximum) override { m_window.m_progress->setMaximum(maximum); }
    void setProgressValue(int value) override { m_window.m_progress->setValue(value); }
    void setPercent(int) override {}
    void message(const QString &text, const QString &title, const QString &detail) override {
        ui::showMessage(&m_window, text, title, detail);
    }
    void transferStarted() override {
        m_window.setTransferControlsEnabled(false);
        m_window.setLoading(true);
    }
    void transferFinished() override {
        m_window.setTransferControlsEnabled(true);
        m_window.setLoading(false);
    }
    void processEvents() override { QCoreApplication::processEvents(); }

private:
    FontWindow &m_window;
};

FontWindow::FontWindow(FontImage &font, SharedPortSettings port, QWidget *parent)
    : QDialog(parent), m_font(font), m_link(std::move(port), SerialLink::kWindowReplyTimeoutMs),
      m_host(std::make_unique<Host>(*this)) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Font"));
    m_transfer = std::make_unique<FontTransfer>(m_font, m_link, *m_host);
    buildControls();
    connect(&m_font, &FontImage::glyphChanged, this, [this](int k) {
        if (k == m_current) repaint(k);
    });
    m_current = -1;
    showCharacter(0);
}

FontWindow::~FontWindow() {
    m_transfer->abort();
    setLoading(false);
}

void FontWindow::attach(Workspace &workspace) {
    m_workspace = &workspace;
    addUndoShortcuts(this, workspace.history(), FontRegion);
}

void FontWindow::setLoading(bool loading) {
    if (!m_workspace || loading == m_loading) return;
    m_loading = loading;
    if (loading)
        m_workspace->documentState().beginLoad();
    else
        m_workspace->documentState().endLoad();
}

QMenuBar *FontWindow::buildMenu() {
    auto *menuBar = new QMenuBar(this);
    QMenu *fileMenu = menuBar->addMenu(QStringLiteral("File(&F)"));
    fileMenu->setObjectName(QStringLiteral("FONT_FILE"));
    QAction *read = fileMenu->addAction(QStringLiteral("Font File Open(&O)"));
    read->setObjectName(QStringLiteral("FONT_READ"));
    QAction *save = fileMenu->addAction(QStringLiteral("Font File Save(&S)"));
    save->setObjectName(QStringLiteral("FONT_SAVE"));
    connect(read, &QAction::triggered, this, &FontWindow::loadFile);
    connect(save, &QAction::triggered, this, &FontWindow::saveFile);
    return menuBar;
}

// The 16 x 16 cells of the character, a click toggles one.
void FontWindow::buildGrid() {
    m_grid = new QTableWidget(FontImage::kSize, FontImage::kSize, this);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    for (QHeaderView *header : {m_grid->horizontalHeader(), m_grid->verticalHeader()}) {
        header->hide();
        header->setMinimumSectionSize(1);
        header->setDefaultSectionSize(kCellPixels);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setItemDelegate(new PixelDelegate(m_grid));
    const int gridSide = FontImage::kSize * kCellPixels + 2 * m_grid->frameWidth();
    m_grid->setFixedSize(gridSide, gridSide);
    for (int r = 0; r < FontImage::kSize; ++r)
        for (int c = 0; c < FontImage::kSize; ++c) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_grid->setItem(r, c, item);
        }
    connect(m_grid, &QTableWidget::cellClicked, this, &FontWindow::toggleCell);
}

// The character list and the buttons beside the grid, top to bottom. All but
// OK and Stop are off while a transfer runs.
QVBoxLayout *FontWindow::buildSide() {
    const auto button = [this](const char *name, const QString &caption,
                               std::function<void()> handler, bool offDuringTransfers = true) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, std::move(handler));
        if (offDuringTransfers) m_transferControls << b;
        return b;
    };
    const auto pair = [](QWidget *a, QWidget *b) {
        auto *row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b);
        return row;
    };
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("FONT_LIST"));
    for (int k = 1; k <= FontImage::kGlyphCount; ++k)
        m_list->addItem(QString::number(k));
    m_list->installEventFilter(this); // typed characters are discarded
    connect(m_list, &QComboBox::currentIndexChanged, this, &FontWindow::showCharacter);
    m_transferControls << m_list;

    auto *side = new QVBoxLayout;
    QHBoxLayout *listRow =
        pair(button("FONT_BACK", QStringLiteral("BACK"), [this] { back(); }), m_list);
    listRow->addWidget(button("FONT_NEXT", QStringLiteral("NEXT"), [this] { next(); }));
    side->addLayout(listRow);
    side->addWidget(button("FONT_CLEAR", QStringLiteral("Clear"), [this] { clearCharacter(); }));
    side->addWidget(button("ALL_CLEAR", QStringLiteral("All Clear"), [this] { clearAll(); }));
    side->addSpacing(8);
    side->addWidget(
        button("IKKATU_ON", QStringLiteral("Select Setting"), [this] { setSelection(1); }));
    side->addWidget(
        button("IKKATU_OFF", QStringLiteral("Select Delete"), [this] { setSelection(0); }));
    side->addSpacing(8);
    side->addLayout(
        pair(button("R_FONT", QStringLiteral("Read"), [this] { readCharacter(); }),
             button("FONT_WRITE", QStringLiteral("Write"), [this] { writeCharacter(); })));
    side->addLayout(
        pair(button("READ_ALL", QStringLiteral("Read ALL"), [this] { readAllCharacters(); }),
             button("WRITE_ALL", QStringLiteral("Write ALL"), [this] { writeAllCharacters(); })));

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    side->addWidget(m_progress);
    // Stop (or Esc) ends a transfer before its next frame.
    m_stop = button(
        "STOP_TRANSFER", tr("Stop"), [this] { m_transfer->requestStop(); }, false);
    m_stop->setEnabled(false);
    side->addWidget(m_stop);
    side->addStretch(1);
    side->addWidget(button(
        "Command1", QStringLiteral("OK"), [this] { accept(); }, false));
    return side;
}

void FontWindow::buildControls() {
    buildGrid();
    auto *body = new QHBoxLayout;
    body->addWidget(m_grid, 0, Qt::AlignTop);
    body->addLayout(buildSide(), 1);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenu());
    layout->addLayout(body);
    resize(kWindowWidth, sizeHint().height());
}

void FontWindow::paintCell(int row, int col, bool set) {
    QTableWidgetItem *item = m_grid->item(row, col);
    if (!item) return;
    if (set) {
        item->setBackground(kSetBackground);
        item->setForeground(kSetForeground);
    } else {
        item->setData(Qt::BackgroundRole, QVariant());
        item->setData(Qt::ForegroundRole, QVariant());
    }
}

void FontWindow::repaint(int k) {
    m_grid->setUpdatesEnabled(false);
    for (int r = 0; r < FontImage::kSize; ++r)
        for (int c = 0; c < FontImage::kSize; ++c)
            paintCell(r, c, m_font.pixel(k, r, c) != 0);
    m_grid->setUpdatesEnabled(true);
}

void FontWindow::showCharacter(int k) {
    if (!FontImage::validGlyph(k) || k == m_current) return;
    m_current = k;
    if (m_list->currentIndex() != k) {
        const QSignalBlocker block(m_list);
        m_list->setCurrentIndex(k);
    }
    repaint(k);
    m_grid->setCurrentCell(0, 0);
}

void FontWindow::back() {
    if (m_list->currentIndex() > 0) m_list->setCurrentIndex(m_list->currentIndex() - 1);
}

void FontWindow::next() {
    if (m_list->currentIndex() < FontImage::kGlyphCount - 1)
        m_list->setCurrentIndex(m_list->currentIndex() + 1);
}

void FontWindow::toggleCell(int row, int col) {
    m_font.togglePixel(m_current, row, col);
}

void FontWindow::clearCharacter() {
    m_font.clearGlyph(m_current);
}

void FontWindow::clearAll() {
    setTransferControlsEnabled(false);
    m_font.clearAll();
    setTransferControlsEnabled(true);
    m_list->setCurrentIndex(0);
    ui::showMessage(this, QStringLiteral("ALL Clear"), QStringLiteral(" Clear"));
    m_grid->setCurrentCell(0, 0);
}

void FontWindow::setSelection(int value) {
    QList<QTableWidgetSelectionRange> ranges = m_grid->selectedRanges();
    if (ranges.isEmpty() && m_grid->currentRow() >= 0 && m_grid->currentColumn() >= 0)
        ranges << QTableWidgetSelectionRange(m_grid->currentRow(), m_grid->currentColumn(),
                                             m_grid->currentRow(), m_grid->currentColumn());
    for (const QTableWidgetSelectionRange &r : ranges)
        m_font.fillRect(m_current, r.topRow(), r.leftColumn(), r.bottomRow(), r.rightColumn(),
                        value);
}

void FontWindow::setTransferControlsEnabled(bool enabled) {
    for (QWidget *w : std::as_const(m_transferControls))
        w->setEnabled(enabled);
    m_stop->setEnabled(!enabled);
}

void FontWindow::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && m_transfer->busy()) {
        // Escape stops a transfer; closing the window still ends it at once.
        m_transfer->requestStop();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FontWindow::writeCharacter() {
    m_transfer->writeGlyph(m_current);
}

void FontWindow::readCharacter() {
    m_transfer->readGlyph(m_current);
}

TransferResult FontWindow::writeAllCharacters() {
    return m_transfer->writeAll();
}

TransferResult FontWindow::readAllCharacters() {
    return m_transfer->readAll();
}

void FontWindow::saveFile() {
    if (m_transfer->busy()) return;
    const QString path = ui::getSaveFileName(this, kSaveFilter, m_startDirectory);
    if (path.isEmpty()) return;
    QString error;
    if (!saveFontFile(m_font, path, &error)) {
        ui::showMessage(this, QStringLiteral("Save Error"), kErrorTitle, error);
        return;
    }
    ui::showMessage(this, QStringLiteral("Save File"), kFinishTitle);
}

void FontWindow::loadFile() {
    if (m_transfer->busy()) return;
    const QString path = ui::getOpenFileName(this, kOpenFilter, m_startDirectory);
    if (path.isEmpty()) return;
    QString error;
    setLoading(true);
    const FontFileResult result = loadFontFile(path, m_font, &error);
    setLoading(false);
    switch (result) {
    case FontFileResult::Loaded:
        ui::showMessage(this, QStringLiteral("Read Font File"), kFinishTitle);
        break;
    case FontFileResult::WrongExtension:
    case FontFileResult::CannotOpen:
        ui::showMessage(this, QStringLiteral("This File don't Open"), kErrorTitle, error);
        break;
    case FontFileResult::NotFontFile:
        ui::showMessage(this, QStringLiteral("This File don't Open"), kErrorTitle,
                        QStringLiteral("The file holds no font lines."));
        break;
    case FontFileResult::EndedEarly:
        break;
    }
    repaint(m_current);
}

void FontWindow::runAutomatic() {
    m_automaticStarted = true;
    m_transfer->setQuiet(true);
    m_automaticResult = m_transfer->readAll();
    if (m_automaticResult != TransferResult::Closed) accept();
}

void FontWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_automatic && !m_automaticStarted) {
        m_automaticStarted = true;
        QTimer::singleShot(0, this, &FontWindow::runAutomatic);
    }
}

bool FontWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_list && event->type() == QEvent::KeyPress &&
        !static_cast<QKeyEvent *>(event)->text().isEmpty() &&
        static_cast<QKeyEvent *>(event)->text().at(0).isPrint())
        return true;
    return QDialog::eventFilter(watched, event);
}

void FontWindow::done(int result) {
    // Closing during a transfer ends it at once, without a message.
    if (m_transfer->busy()) m_transfer->abort();
    QDialog::done(result);
}

TransferResult openFontWindow(Workspace &workspace, bool automatic) {
    if (!automatic && workspace.transferRunning()) return TransferResult::NotStarted;
    QWidget *main = workspace.window();
    FontWindow dialog(workspace.document().font, workspace.link().sharedPortSettings(), main);
    dialog.setStartDirectory(workspace.startDirectory());
    dialog.setAutomatic(automatic);
    dialog.attach(workspace);
    dialog.move(main->x() + twipsToPixels(3000), main->y());
    dialog.exec();
    return dialog.automaticResult();
}

} // namespace kpr5
