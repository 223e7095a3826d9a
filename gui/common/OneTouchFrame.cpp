#include "gui/common/OneTouchFrame.h"

#include "core/common/OneTouchTable.h"
#include "core/common/OneTouchTransfer.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/widgets/TransferButtons.h"
#include "gui/widgets/Workspace.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

namespace {

// `COMMON_BANK(k)` or `COMMON_CH(k)`: entries and selection come from the
// table; typed keys are discarded.
class OneTouchList : public ChoiceOnlyList {
public:
    enum Kind { Bank, Channel };

    OneTouchList(OneTouchTable &table, int key, Kind kind, QWidget *parent)
        : ChoiceOnlyList(parent), m_table(table), m_key(key), m_kind(kind) {
        setObjectName(
            QStringLiteral("%1(%2)")
                .arg(kind == Bank ? QStringLiteral("COMMON_BANK") : QStringLiteral("COMMON_CH"))
                .arg(key));
        setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        setMinimumContentsLength(3);
        refill();
        if (kind == Bank) {
            // Choosing a bank, even the one shown, refills the channel list.
            connect(this, &QComboBox::activated, this,
                    [this](int index) { m_table.selectBank(m_key, index); });
            connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
                if (index >= 0 && index != m_table.bankPosition(m_key))
                    m_table.selectBank(m_key, index);
            });
        } else {
            connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
                if (index >= 0 && !m_table.selectChannel(m_key, index)) showSelection();
            });
        }
    }

    // Entries and selection from the table.
    void refill() {
        const QStringList entries =
            m_kind == Bank ? m_table.bankEntries() : m_table.channelEntries(m_key);
        const int position = selection();
        if (entries.size() == count()) {
            showSelection();
            return;
        }
        fill(entries, position < entries.size() ? position : -1);
    }

    void showSelection() {
        const int position = selection();
        if (position != currentIndex() && position < count()) {
            const QSignalBlocker block(this);
            setCurrentIndex(position);
        }
    }

private:
    int selection() const {
        return m_kind == Bank ? m_table.bankPosition(m_key) : m_table.channelPosition(m_key);
    }

    OneTouchTable &m_table;
    int m_key;
    Kind m_kind;
};

} // namespace

QWidget *createOneTouchFrame(Workspace &workspace) {
    OneTouchTable &table = workspace.document().oneTouch;
    auto *box = new QGroupBox(QStringLiteral("OneTouch Memory"));
    box->setObjectName(QStringLiteral("ONE_TOUCH"));
    auto *outer = new QVBoxLayout(box);
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    grid->addWidget(new QLabel(QStringLiteral("Bank"), box), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("CH"), box), 0, 3);

    QList<QCheckBox *> boxes;
    QList<OneTouchList *> bankLists;
    QList<OneTouchList *> channelLists;
    for (int k = 0; k < OneTouchTable::kKeyCount; ++k) {
        const int row = k + 1;
        auto *label = new QLabel(QString::number(k + 1), box);
        label->setObjectName(QStringLiteral("ONE_TOUCH_LABEL(%1)").arg(k));
        grid->addWidget(label, row, 0);

        auto *noSet = new QCheckBox(QStringLiteral("No Setting"), box);
        noSet->setObjectName(QStringLiteral("NO_SET(%1)").arg(k));
        noSet->setChecked(table.isUnassigned(k));
        QObject::connect(noSet, &QCheckBox::toggled, box,
                         [&table, k](bool on) { table.setUnassigned(k, on); });
        grid->addWidget(noSet, row, 1);
        boxes << noSet;

        auto *bank = new OneTouchList(table, k, OneTouchList::Bank, box);
        auto *channel = new OneTouchList(table, k, OneTouchList::Channel, box);
        grid->addWidget(bank, row, 2);
        grid->addWidget(channel, row, 3);
        bankLists << bank;
        channelLists << channel;
    }
    grid->setColumnStretch(4, 1);
    outer->addLayout(grid);

    QObject::connect(&table, &OneTouchTable::keyChanged, box, [=, &table](int k) {
        if (k < 0 || k >= boxes.size()) return;
        if (boxes[k]->isChecked() != table.isUnassigned(k)) {
            const QSignalBlocker block(boxes[k]);
            boxes[k]->setChecked(table.isUnassigned(k));
        }
        bankLists[k]->showSelection();
        channelLists[k]->refill();
    });
    QObject::connect(&table, &OneTouchTable::listsRebuilt, box, [=, &table] {
        for (int k = 0; k < OneTouchTable::kKeyCount; ++k) {
            const QSignalBlocker block(boxes[k]);
            boxes[k]->setChecked(table.isUnassigned(k));
            // The bank lists are filled again even when their length is the
            // same: the banks in them may be others.
            bankLists[k]->clear();
            bankLists[k]->refill();
            channelLists[k]->refill();
        }
    });

    Workspace *w = &workspace;
    addTransferButtons(
        outer, box, workspace, {"READ_ONE_TOUCH", "WRITE_ONE_TOUCH", "COMMON_ONE_TOUCH_RESET"},
        [w] {
            if (!w->transferRunning() && w->confirmUnsaved(OneTouchRegion))
                readOneTouch(w->document().oneTouch, w->document().banks, w->link(), w->host());
        },
        [w] {
            if (succeeded(writeOneTouch(w->document().oneTouch, w->link(), w->host())))
                w->markWritten(OneTouchRegion);
        },
        [w] { w->document().oneTouch.reset(); });

    // Entering the "Common Set" page rebuilds the bank lists from the banks.
    QObject::connect(w, &Workspace::pageEntered, box, [w](int page) {
        if (page == Workspace::CommonSetPage)
            w->document().oneTouch.rebuildLists(w->document().banks);
    });
    return box;
}

} // namespace kpr5
