#include "gui/banks/GroupWindow.h"

#include "core/banks/BankTable.h"
#include "core/banks/GroupTable.h"
#include "core/banks/GroupTransfer.h"
#include "gui/widgets/History.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Twips.h"
#include "gui/widgets/Workspace.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

namespace kpr5 {

namespace {
constexpr int kBlockWidth = 11; // ten bank columns and a separator
constexpr int kRowTwips = 240;

int columnTwips(int column) {
    if (column == 0) return GroupWindow::kNameColumnTwips;
    return GroupWindow::isSeparator(column) ? GroupWindow::kSeparatorTwips
                                            : GroupWindow::kBankColumnTwips;
}
} // namespace

TransferResult openGroupWindow(Workspace &workspace, bool automatic, bool announce) {
    if (workspace.transferRunning()) return TransferResult::NotStarted;
    RadioDocument &doc = workspace.document();
    if (!doc.banks.totalIsValid()) doc.banks.reset();
    // Opening the group window also refreshes the one-touch keys' bank lists.
    doc.oneTouch.rebuildLists(doc.banks);
    GroupWindow dialog(doc.banks, doc.groups, workspace.link().sharedPortSettings(), automatic,
                       workspace.window());
    dialog.setAnnounce(announce);
    dialog.attach(workspace);
    dialog.exec();
    return dialog.automaticResult();
}

int GroupWindow::columnOfBank(int bank) {
    return 1 + bank + bank / 10;
}

bool GroupWindow::isSeparator(int column) {
    return column > 0 && column < kColumns && (column - 1) % kBlockWidth == 10;
}

int GroupWindow::bankOfColumn(int column) {
    if (column < 1 || column >= kColumns || isSeparator(column)) return -1;
    const int k = column - 1;
    return (k / kBlockWidth) * 10 + k % kBlockWidth;
}

QColor GroupWindow::basicColour(int index) {
    static const QColor palette[16] = {
        QColor(0x00, 0x00, 0x00), QColor(0x00, 0x00, 0x80), QColor(0x00, 0x80, 0x00),
        QColor(0x00, 0x80, 0x80), QColor(0x80, 0x00, 0x00), QColor(0x80, 0x00, 0x80),
        QColor(0x80, 0x80, 0x00), QColor(0xC0, 0xC0, 0xC0), QColor(0x80, 0x80, 0x80),
        QColor(0x00, 0x00, 0xFF), QColor(0x00, 0xFF, 0x00), QColor(0x00, 0xFF, 0xFF),
        QColor(0xFF, 0x00, 0x00), QColor(0xFF, 0x00, 0xFF), QColor(0xFF, 0xFF, 0x00),
        QColor(0xFF, 0xFF, 0xFF),
    };
    return index >= 0 && index < 16 ? palette[index] : QColor();
}

GroupWindow::GroupWindow(BankTable &banks, GroupTable &groups, SharedPortSettings port,
                         bool automatic, QWidget *parent)
    : QDialog(parent), m_banks(banks), m_groups(groups),
      m_link(std::move(port), SerialLink::kWindowReplyTimeoutMs), m_automatic(automatic) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("BANK-LINK Setting"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);

    // Labels above the five blocks of bank columns.
    auto *labels = new QWidget(this);
    layout->addWidget(labels);

    m_grid = new QTableWidget(kRows, kColumns, this);
    m_grid->setObjectName(QStringLiteral("MSFlexGrid1"));
    layout->addWidget(m_grid);
    buildGrid();

    int x = m_grid->frameWidth() + twipsToPixels(kNameColumnTwips);
    const int blockPixels = 10 * twipsToPixels(kBankColumnTwips) + twipsToPixels(kSeparatorTwips);
    for (int block = 0; block < 5; ++block) {
        auto *label = new QLabel(
            QStringLiteral("BANK%1\uFF5E%2").arg(10 * block).arg(10 * block + 9), labels);
        label->setObjectName(QStringLiteral("Label1(%1)").arg(block));
        label->move(x, 0);
        label->resize(blockPixels, label->sizeHint().height());
        x += blockPixels;
    }
    labels->setFixedSize(m_grid->width(), labels->findChild<QLabel *>()->height());

    auto *buttons = new QHBoxLayout;
    auto makeButton = [&](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    m_read = makeButton(QStringLiteral("GROUP_READ"), QStringLiteral("Read"));
    m_write = makeButton(QStringLiteral("GROUP_WRITE"), QStringLiteral("Write"));
    buttons->addStretch(1);
    m_clear = makeButton(QStringLiteral("Command1"), QStringLiteral("Clear"));
    m_ok = makeButton(QStringLiteral("Command2"), QStringLiteral("OK"));
    // Stop (or Esc) ends a transfer before its next block.
    m_stop = makeButton(QStringLiteral("STOP_TRANSFER"), tr("Stop"));
    m_stop->setEnabled(false);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_link.requestStop(); });
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_read, &QPushButton::clicked, this, &GroupWindow::readGroupsClicked);
    connect(m_write, &QPushButton::clicked, this, &GroupWindow::writeGroupsClicked);
    connect(m_clear, &QPushButton::clicked, this, &GroupWindow::clearClicked);
    connect(m_ok, &QPushButton::clicked, this, &GroupWindow::okClicked);
    connect(m_grid, &QTableWidget::cellClicked, this, &GroupWindow::cellClicked);

    // An empty bank cannot be linked.
    m_groups.clearUnavailable(m_banks);
    repaint();
    connect(&m_groups, &GroupTable::changed, this, &GroupWindow::repaint);
}

GroupWindow::~GroupWindow() = default;

void GroupWindow::buildGrid() {
    m_grid->horizontalHeader()->hide();
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionMode(QAbstractItemView::NoSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setWordWrap(false);
    m_grid->setFocusPolicy(Qt::NoFocus); // no current-cell frame; clicks still toggle
    QFont small = m_grid->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_grid->setFont(small);

    m_grid->horizontalHeader()->setMinimumSectionSize(1);
    m_grid->verticalHeader()->setMinimumSectionSize(1);
    int width = 2 * m_grid->frameWidth();
    for (int c = 0; c < kColumns; ++c) {
        m_grid->setColumnWidth(c, twipsToPixels(columnTwips(c)));
        width += twipsToPixels(columnTwips(c));
    }
    int height = 2 * m_grid->frameWidth();
    for (int r = 0; r < kRows; ++r) {
        m_grid->setRowHeight(r, twipsToPixels(kRowTwips));
        height += twipsToPixels(kRowTwips);
    }
    m_grid->setFixedSize(width, height);

    const QColor fixedBack = palette().color(QPalette::Button);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled);
            item->setTextAlignment(Qt::AlignCenter);
            if (r == 0 || c == 0 || isSeparator(c)) item->setBackground(fixedBack);
            if (r == 0 && bankOfColumn(c) >= 0)
                item->setText(QString::number(bankOfColumn(c) % 10));
            if (c == 0 && r > 0) {
                item->setText(GroupTable::groupName(r - 1));
                item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            }
            m_grid->setItem(r, c, item);
        }
    }
}

void GroupWindow::paintCell(int group, int bank) {
    QTableWidgetItem *item = m_grid->item(group + 1, columnOfBank(bank));
    if (!item) return;
    if (!m_banks.isAvailable(bank)) {
        item->setBackground(basicColour(8));
        item->setForeground(basicColour(12));
    } else if (m_groups.isLinked(group, bank)) {
        item->setBackground(basicColour(1));
        item->setForeground(basicColour(12));
    } else {
        item->setBackground(QBrush());
        item->setForeground(basicColour(0));
    }
}

void GroupWindow::repaint() {
    m_grid->setUpdatesEnabled(false);
    for (int g = 0; g < GroupTable::kGroupCount; ++g) {
        for (int b = 0; b < GroupTable::kBankCount; ++b)
            paintCell(g, b);
    }
    m_grid->setUpdatesEnabled(true);
}

void GroupWindow::cellClicked(int row, int column) {
    if (row < 1 || row > GroupTable::kGroupCount) return;
    const int bank = bankOfColumn(column);
    if (bank < 0 || !m_banks.isAvailable(bank)) return;
    m_groups.toggle(row - 1, bank);
}

void GroupWindow::clearClicked() {
    if (busy()) return;
    m_groups.clear();
}

void GroupWindow::okClicked() {
    if (busy()) return;
    accept();
}

void GroupWindow::attach(Workspace &workspace) {
    m_workspace = &workspace;
    addUndoShortcuts(this, workspace.history(), GroupsRegion);
}

void GroupWindow::readGroupsClicked() {
    if (busy()) return;
    if (m_workspace && !m_automatic && !m_workspace->confirmUnsaved(GroupsRegion)) return;
    std::optional<Workspace::RadioLoad> load;
    if (m_workspace) load.emplace(*m_workspace);
    const GroupReadEnding ending = !m_automatic ? GroupReadEnding::Ok
                                   : m_announce ? GroupReadEnding::AllDataRead
                                                : GroupReadEnding::Quiet;
    const TransferResult result = readGroups(m_groups, m_link, *this, ending, &m_banks);
    load.reset();
    if (m_automatic) m_automaticResult = result;
    if (m_link.closing()) return;
    // The whole-radio read goes on with its next step whether or not the
    // groups arrived.
    if (m_automatic) accept();
}

void GroupWindow::writeGroupsClicked() {
    if (busy()) return;
    if (succeeded(writeGroups(m_groups, m_link, *this)) && m_workspace)
        m_workspace->markWritten(GroupsRegion);
}

void GroupWindow::setButtonsEnabled(bool enabled) {
    for (QPushButton *b : {m_read, m_write, m_clear, m_ok})
        b->setEnabled(enabled);
    m_stop->setEnabled(!enabled);
}

void GroupWindow::message(const QString &text, const QString &title, const QString &detail) {
    ui::showMessage(this, text, title, detail);
}

void GroupWindow::transferStarted() {
    setButtonsEnabled(false);
}

void GroupWindow::transferFinished() {
    setButtonsEnabled(true);
}

void GroupWindow::closeWindow() {
    // Closed during a transfer: close once the transfer's stack has unwound.
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void GroupWindow::processEvents() {
    QCoreApplication::processEvents();
}

void GroupWindow::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (m_automatic && !m_automaticStarted) {
        m_automaticStarted = true;
        QTimer::singleShot(0, this, &GroupWindow::readGroupsClicked);
    }
}

void GroupWindow::closeEvent(QCloseEvent *event) {
    if (busy()) {
        // End the transfer at its reply wait; the window closes after it.
        m_link.requestClose();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void GroupWindow::reject() {
    if (busy()) { // Escape stops a transfer instead of closing
        m_link.requestStop();
        return;
    }
    QDialog::reject();
}

} // namespace kpr5
