#include "gui/banks/BankPage.h"

#include "core/banks/BankTable.h"
#include "core/banks/BankTransfer.h"
#include "core/channels/ChannelTable.h"
#include "core/channels/RowLabels.h"
#include "gui/banks/GroupWindow.h"
#include "gui/widgets/MessageDialog.h"
#include "gui/widgets/Workspace.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace kpr5 {

namespace {

const QString kCautionText = QStringLiteral("Bank Total Error. Init Data?");
const QString kCautionTitle = QStringLiteral("Caution");

constexpr int kBanksPerColumn = 10;

QString indexedName(const char *name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// The bank page. It holds no data of its own: every control shows the main
// window's bank table, and every edit goes into it.
class BankPageWidget : public QWidget {
public:
    explicit BankPageWidget(Workspace &workspace);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QGridLayout *buildBanks(QWidget *frame);
    QVBoxLayout *buildSide(QWidget *frame);
    BankTable &banks() { return m_workspace.document().banks; }
    int bankOf(QObject *o) const;
    bool filterKey(int bank, QKeyEvent *key);
    void takeOverText(int bank);
    void refresh();
    void updateWriteEnabled();
    void step(int delta);
    void writeBanksClicked();
    bool guardPageChange(int from, int to);
    void relabelChannels();

    Workspace &m_workspace;
    std::array<QSlider *, BankTable::kBankCount> m_sliders{};
    std::array<QLineEdit *, BankTable::kBankCount> m_texts{};
    QLineEdit *m_total = nullptr;
    QPushButton *m_write = nullptr;
    QLabel *m_writeReason = nullptr;
    int m_selectedBank = -1; // set by clicking a slider
};

BankPageWidget::BankPageWidget(Workspace &workspace) : m_workspace(workspace) {
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *frame = new QGroupBox(QStringLiteral("Bank Setting"), this);
    frame->setObjectName(QStringLiteral("BankFrame"));
    outer->addWidget(frame);
    auto *frameLayout = new QHBoxLayout(frame);
    frameLayout->addLayout(buildBanks(frame), 1);
    frameLayout->addLayout(buildSide(frame));

    connect(&banks(), &BankTable::changed, this, [this] { refresh(); });
    // finishTransfer enables every transfer control; `WRITE_BANK` stays off
    // while the total is wrong.
    connect(&m_workspace, &Workspace::transferEnded, this, [this] { updateWriteEnabled(); });
    connect(&m_workspace, &Workspace::pageEntered, this, [this](int page) {
        if (page == Workspace::MemoryPage) relabelChannels();
    });
    m_workspace.setPageGuard([this](int from, int to) { return guardPageChange(from, to); });

    refresh();
    relabelChannels(); // the special rows, and the memory rows of the default table
}

// A label, a slider and a text box for each bank, in columns of ten.
QGridLayout *BankPageWidget::buildBanks(QWidget *frame) {
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    for (int b = 0; b < BankTable::kBankCount; ++b) {
        const int row = b % kBanksPerColumn;
        const int column = 3 * (b / kBanksPerColumn);
        auto *label = new QLabel(QStringLiteral("Bank%1").arg(b, 2, 10, QLatin1Char('0')), frame);
        auto *slider = new QSlider(Qt::Horizontal, frame);
        slider->setObjectName(indexedName("Slider1", b));
        slider->setRange(0, BankTable::kMaxCount);
        slider->setSingleStep(1);
        slider->setPageStep(10);
        slider->setMinimumWidth(70);
        slider->installEventFilter(this);
        auto *text = new QLineEdit(frame);
        text->setObjectName(indexedName("Text1", b));
        text->setFixedWidth(text->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 10);
        text->setAlignment(Qt::AlignRight);
        text->setAttribute(Qt::WA_InputMethodEnabled, false);
        text->installEventFilter(this);
        label->setBuddy(text);
        grid->addWidget(label, row, column);
        grid->addWidget(slider, row, column + 1);
        grid->addWidget(text, row, column + 2);
        m_sliders[b] = slider;
        m_texts[b] = text;
        connect(slider, &QSlider::valueChanged, this, [this, b](int value) {
            if (banks().count(b) != value) banks().setCount(b, value);
        });
    }
    return grid;
}

// The total, the bank buttons, and why `WRITE_BANK` is off when it is.
QVBoxLayout *BankPageWidget::buildSide(QWidget *frame) {
    auto *side = new QVBoxLayout;
    auto *totalLabel = new QLabel(QStringLiteral("Total"), frame);
    m_total = new QLineEdit(frame);
    m_total->setObjectName(QStringLiteral("Total_Mem"));
    m_total->setReadOnly(true);
    m_total->setAlignment(Qt::AlignRight);
    m_total->setFixedWidth(m_total->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 10);
    totalLabel->setBuddy(m_total);
    auto *totalRow = new QHBoxLayout;
    totalRow->addWidget(totalLabel);
    totalRow->addWidget(m_total);
    side->addLayout(totalRow);

    const auto button = [&](const char *name, const QString &caption, auto handler) {
        auto *b = new QPushButton(caption, frame);
        b->setObjectName(QLatin1String(name));
        disableDuringTransfer(b);
        connect(b, &QPushButton::clicked, this, handler);
        side->addWidget(b);
        return b;
    };
    button("BANK_UP(0)", QStringLiteral("Up"), [this] { step(+1); });
    button("BANK_UP(1)", QStringLiteral("Down"), [this] { step(-1); });
    side->addSpacing(12);
    button("Bank_Clear", QStringLiteral("Reset"), [this] { banks().reset(); });
    button("READ_BANK", QStringLiteral("Bank Read"), [this] {
        if (m_workspace.transferRunning() || !m_workspace.confirmUnsaved(BanksRegion)) return;
        readBanks(banks(), m_workspace.link(), m_workspace.host());
    });
    m_write = button("WRITE_BANK", QStringLiteral("Bank Write"), [this] { writeBanksClicked(); });
    m_writeReason = new QLabel(frame);
    m_writeReason->setObjectName(QStringLiteral("WRITE_BANK_REASON"));
    m_writeReason->setWordWrap(true);
    m_writeReason->setMaximumWidth(m_write->sizeHint().width() * 2);
    side->addWidget(m_writeReason);
    side->addSpacing(12);
    button("GROUP_SET", QStringLiteral("Bank_Link"),
           [this] { openGroupWindow(m_workspace, false); });
    side->addStretch(1);
    return side;
}

int BankPageWidget::bankOf(QObject *o) const {
    for (int b = 0; b < BankTable::kBankCount; ++b) {
        if (m_sliders[b] == o || m_texts[b] == o) return b;
    }
    return -1;
}

bool BankPageWidget::eventFilter(QObject *watched, QEvent *event) {
    const int bank = bankOf(watched);
    if (bank < 0) return QWidget::eventFilter(watched, event);
    if (watched == m_sliders[bank]) {
        if (event->type() == QEvent::MouseButtonPress) m_selectedBank = bank;
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(bank, static_cast<QKeyEvent *>(event));
    case QEvent::FocusOut: {
        // Another window coming to the front is not leaving the text box.
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            takeOverText(bank);
        return false;
    }
    default:
        return false;
    }
}

// The key filter of `Text1(i)`: digits while the text stays within four
// characters, Backspace, and Enter, which takes the value over; every other
// character is discarded. Keys that type no character (cursor keys, Tab,
// Delete, the clipboard shortcuts) keep their usual meaning.
bool BankPageWidget::filterKey(int bank, QKeyEvent *key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        takeOverText(bank);
        return true;
    }
    const QString typed = key->text();
    if (std::none_of(typed.cbegin(), typed.cend(), [](QChar c) { return c.isPrint(); }))
        return false;
    if (typed.size() == 1 && typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9')) {
        const QLineEdit *text = m_texts[bank];
        const auto kept = text->text().size() - text->selectedText().size();
        return kept >= 4;
    }
    return true;
}

// Enter or leaving the text box: the text becomes the bank's count.
void BankPageWidget::takeOverText(int bank) {
    const int count = BankTable::countFromText(m_texts[bank]->text());
    banks().setCount(bank, count);
    // The model may not have changed (same count): show the clean number anyway.
    m_texts[bank]->setText(QString::number(banks().count(bank)));
}

void BankPageWidget::refresh() {
    const BankTable &t = banks();
    for (int b = 0; b < BankTable::kBankCount; ++b) {
        const int count = t.count(b);
        if (m_sliders[b]->value() != count) {
            const QSignalBlocker block(m_sliders[b]);
            m_sliders[b]->setValue(count);
        }
        const QString text = QString::number(count);
        if (m_texts[b]->text() != text) m_texts[b]->setText(text);
    }
    m_total->setText(QString::number(t.shownTotal()));
    QPalette p = m_total->palette();
    // Red (0x0000FF in the radio maker's blue-green-red order) while the total is wrong.
    p.setColor(QPalette::Text, t.totalIsValid() ? QApplication::palette().color(QPalette::Text)
                                                : QColor(255, 0, 0));
    m_total->setPalette(p);
    updateWriteEnabled();
}

void BankPageWidget::updateWriteEnabled() {
    m_write->setEnabled(banks().totalIsValid() && !m_workspace.transferRunning());
    const QString reason = banks().totalIsValid()
                               ? QString()
                               : QStringLiteral("The banks must hold %1 channels in all (now %2)")
                                     .arg(BankTable::kMemoryChannels)
                                     .arg(banks().shownTotal());
    m_write->setToolTip(reason);
    m_writeReason->setText(reason);
    m_writeReason->setVisible(!reason.isEmpty());
}

void BankPageWidget::step(int delta) {
    if (m_selectedBank < 0) return;
    banks().stepCount(m_selectedBank, delta);
}

void BankPageWidget::writeBanksClicked() {
    if (!banks().totalIsValid() || m_workspace.transferRunning()) return;
    m_write->setEnabled(false);
    if (succeeded(writeBanks(banks(), m_workspace.link(), m_workspace.host())))
        m_workspace.markWritten(BanksRegion);
    updateWriteEnabled();
}

bool BankPageWidget::guardPageChange(int from, int to) {
    // A bank's text box being edited is left before the page changes (the
    // tab strip takes no focus, so its lost-focus rule would come too late).
    const int editing = bankOf(QApplication::focusWidget());
    if (from == Workspace::BankPage && editing >= 0 &&
        QApplication::focusWidget() == m_texts[editing])
        takeOverText(editing);
    if (banks().totalIsValid()) return true;
    if (to != Workspace::BankPage) {
        const ui::Answer answer =
            ui::showMessage(m_workspace.window(), kCautionText, kCautionTitle, QString(), true);
        if (answer != ui::Answer::Ok) return false;
    }
    banks().reset();
    return true;
}

void BankPageWidget::relabelChannels() {
    m_workspace.document().channels.setRowLabels(channelRowLabels(banks().counts()));
}

} // namespace

QWidget *createBankPage(Workspace &workspace) {
    auto *page = new BankPageWidget(workspace);
    page->setObjectName(QStringLiteral("BankPage"));
    return page;
}

} // namespace kpr5
