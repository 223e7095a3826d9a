#include "gui/channels/DetailDialog.h"

#include "core/channels/ChannelTable.h"
#include "core/channels/ChannelTables.h"
#include "core/text/NameCodec.h"
#include "gui/widgets/EntryGuard.h"
#include "gui/widgets/Twips.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kpr5 {

namespace {

const char kDiscardKeysProperty[] = "kpr5DiscardKeys";
const char kShiftPartProperty[] = "kpr5ShiftPart"; // 1 integer part, 2 decimals
const char kSetProperty[] = "kpr5Set";

QString suffixed(const char *base, int set) {
    return QLatin1String(base) + (set == 1 ? QStringLiteral("_2") : QString());
}

QString indexed(const char *base, int set, int i) {
    return suffixed(base, set) + QStringLiteral("(%1)").arg(i);
}

// Splits "145.50000MHz" / "0.600MHz" into the parts before and after the point.
QPair<QString, QString> splitNumber(const QString &cell) {
    QString text = cell;
    if (text.endsWith(QLatin1String("MHz"))) text.chop(3);
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0) return {text, QString()};
    return {text.left(dot), text.mid(dot + 1)};
}

QGroupBox *optionFrame(const QString &caption, const QStringList &texts, const QString &name,
                       int columns, QButtonGroup *group, QWidget *parent) {
    auto *frame = new QGroupBox(caption, parent);
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(6, 2, 6, 2);
    grid->setSpacing(2);
    for (int i = 0; i < texts.size(); ++i) {
        auto *option = new QRadioButton(texts.at(i), frame);
        option->setObjectName(name + QStringLiteral("(%1)").arg(i));
        group->addButton(option, i);
        grid->addWidget(option, i / columns, i % columns);
    }
    return frame;
}

void checkOption(QButtonGroup *group, int id) {
    if (QAbstractButton *b = group->button(id)) {
        b->setChecked(true);
        return;
    }
    // No option shows the value: none is checked.
    if (QAbstractButton *checked = group->checkedButton()) {
        group->setExclusive(false);
        checked->setChecked(false);
        group->setExclusive(true);
    }
}

void selectEntry(QComboBox *list, int index) {
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

} // namespace

DetailDialog::DetailDialog(const ChannelTable &table, edit::EditState &state, QWidget *parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Memory Detail"));
    setModal(true);

    const int slot = m_state.slot;
    m_pair = edit::isDualWatchSlot(slot);

    auto *outer = new QVBoxLayout(this);
    m_label = new QLabel(table.rowLabel(ChannelTable::rowOfSlot(slot)), this);
    m_label->setObjectName(QStringLiteral("Label2"));
    QFont bold = m_label->font();
    bold.setBold(true);
    m_label->setFont(bold);
    outer->addWidget(m_label);

    auto *columns = new QHBoxLayout;
    columns->addWidget(buildSet(0), 1);
    columns->addWidget(buildSet(1), 1);
    outer->addLayout(columns);

    // The two buttons stand where they stand in both layouts.
    auto *buttons = new QWidget(this);
    m_enter = new QPushButton(QStringLiteral("Enter"), buttons);
    m_enter->setObjectName(QStringLiteral("DETAIL_ENTER"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), buttons);
    m_cancel->setObjectName(QStringLiteral("DETAIL_CANCEL"));
    for (QPushButton *b : {m_enter, m_cancel}) {
        b->setAutoDefault(false);
        b->resize(twipsToPixels(1335), m_enter->sizeHint().height());
    }
    m_enter->move(twipsToPixels(120) - outer->contentsMargins().left(), 0);
    m_cancel->move(twipsToPixels(5040) - outer->contentsMargins().left(), 0);
    buttons->setFixedHeight(m_enter->height());
    outer->addWidget(buttons);
    connect(m_enter, &QPushButton::clicked, this, &DetailDialog::enter);
    connect(m_cancel, &QPushButton::clicked, this, &DetailDialog::reject);

    m_sets[1].box->setVisible(m_pair);
    // AM and WFM are not for call channels and dual-watch pairs.
    const bool narrowOnly = m_pair || edit::isCallSlot(slot);
    for (int set = 0; set < 2; ++set) {
        m_sets[set].mode->button(1)->setEnabled(!narrowOnly);
        m_sets[set].mode->button(3)->setEnabled(!narrowOnly);
    }
    fillSet(0, table, slot);
    if (m_pair) fillSet(1, table, ChannelTable::rowOfSlot(slot));

    setFixedWidth(twipsToPixels(m_pair ? kPairWidthTwips : kSingleWidthTwips));
}

DetailDialog::~DetailDialog() = default;

// A digit field of a column set: keys, input methods, pastes and drops all
// pass the same filter and limit.
QLineEdit *DetailDialog::digitField(int set, const char *base, int limit, int width) {
    auto *f = new QLineEdit(m_sets[set].box);
    f->setObjectName(suffixed(base, set));
    f->setMaxLength(limit);
    f->setFixedWidth(width);
    f->setProperty(kSetProperty, set);
    f->setContextMenuPolicy(Qt::NoContextMenu);
    f->installEventFilter(this);
    ui::guardEntry(f, ui::digitRule(limit));
    return f;
}

// A code list of a column set; `mouseOnly` lists take no key at all, open or
// closed (their arrows and Enter would choose an entry).
QComboBox *DetailDialog::codeList(int set, const char *base, const QStringList &entries,
                                  bool mouseOnly) {
    auto *c = new QComboBox(m_sets[set].box);
    c->setObjectName(suffixed(base, set));
    c->addItems(entries);
    c->setMaxVisibleItems(16);
    if (mouseOnly) {
        for (QObject *o : {static_cast<QObject *>(c), static_cast<QObject *>(c->view())}) {
            o->setProperty(kDiscardKeysProperty, true);
            o->installEventFilter(this);
        }
    }
    return c;
}

// "<label> [digits] . [digits] MHz" in a row.
QHBoxLayout *DetailDialog::frequencyRow(int set, const QString &label, QLineEdit *whole,
                                        QLineEdit *fraction) {
    QWidget *parent = m_sets[set].box;
    auto *row = new QHBoxLayout;
    if (!label.isEmpty()) row->addWidget(new QLabel(label, parent));
    row->addWidget(whole);
    row->addWidget(new QLabel(QStringLiteral("."), parent));
    row->addWidget(fraction);
    row->addWidget(new QLabel(QStringLiteral("MHz"), parent));
    row->addStretch(1);
    return row;
}

QGridLayout *DetailDialog::codeLists(int set) {
    ColumnSet &s = m_sets[set];
    s.txTone = codeList(set, "TX_TONE_COMBO", channeltables::toneTexts(), true);
    s.rxTone = codeList(set, "RX_TONE_COMBO", channeltables::toneTexts(), true);
    s.dcs = codeList(set, "DCS_COMBO", channeltables::dcsTexts(), true);
    s.carrier = codeList(set, "TRAIN_COMBO", channeltables::carrierTexts(), false);
    const struct {
        const char *label;
        QComboBox *list;
    } cells[] = {
        {"Tx-Tone", s.txTone}, {"Rx-Tone", s.rxTone}, {"DCS-No", s.dcs}, {"Train", s.carrier}};
    auto *grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(new QLabel(QLatin1String(cells[i].label), s.box), i / 2, 2 * (i % 2));
        grid->addWidget(cells[i].list, i / 2, 2 * (i % 2) + 1);
    }
    return grid;
}

QHBoxLayout *DetailDialog::shiftRow(int set) {
    ColumnSet &s = m_sets[set];
    auto *row = new QHBoxLayout;
    s.shift = new QButtonGroup(s.box);
    row->addWidget(optionFrame(QStringLiteral("Shift"),
                               {QStringLiteral("Off"), QStringLiteral("+"), QStringLiteral("-")},
                               suffixed("DETAIL_SHIFT", set), 3, s.shift, s.box));
    auto *offset = new QGroupBox(QStringLiteral("Offset Frequency"), s.box);
    s.shift1 = digitField(set, "DETAIL_SHIFT_FREQ_1", 3, 40);
    s.shift2 = digitField(set, "DETAIL_SHIFT_FREQ_2", 3, 40);
    s.shift1->setProperty(kShiftPartProperty, 1);
    s.shift2->setProperty(kShiftPartProperty, 2);
    QHBoxLayout *offsetRow = frequencyRow(set, QString(), s.shift1, s.shift2);
    offsetRow->setContentsMargins(6, 2, 6, 2);
    offset->setLayout(offsetRow);
    row->addWidget(offset);
    return row;
}

// The name, then the eight user-character buttons and Clear.
void DetailDialog::addNameRows(int set, QVBoxLayout *column) {
    ColumnSet &s = m_sets[set];
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("Name"), s.box));
    s.name = new QLineEdit(s.box);
    s.name->setObjectName(suffixed("DETAIL_NAME", set));
    s.name->setProperty(kSetProperty, set);
    s.name->setContextMenuPolicy(Qt::NoContextMenu);
    ui::guardEntry(s.name, ui::nameRule(false)); // keys, input methods, pastes and drops
    nameRow->addWidget(s.name, 1);
    column->addLayout(nameRow);

    auto *userRow = new QHBoxLayout;
    userRow->setSpacing(2);
    for (int i = 0; i < names::kUserCharacters; ++i) {
        auto *b = new QPushButton(QString::number(i + 1), s.box);
        b->setObjectName(indexed("Command1", set, i));
        b->setAutoDefault(false);
        b->setFixedWidth(28);
        connect(b, &QPushButton::clicked, this, [this, set, i] { insertUserCharacter(set, i); });
        userRow->addWidget(b);
    }
    userRow->addStretch(1);
    s.clear = new QPushButton(QStringLiteral("Clear"), s.box);
    s.clear->setObjectName(suffixed("DETAIL_CLEAR", set));
    s.clear->setAutoDefault(false);
    connect(s.clear, &QPushButton::clicked, this, [this, set] { clearSet(set); });
    userRow->addWidget(s.clear);
    column->addLayout(userRow);
}

// One column set (a channel): frequency, the option frames, the code lists,
// shift and offset, skip, name.
QWidget *DetailDialog::buildSet(int set) {
    ColumnSet &s = m_sets[set];
    s.box = new QWidget(this);
    auto *v = new QVBoxLayout(s.box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(3);

    s.freq1 = digitField(set, "DETAIL_FREQ_1", 4, 50);
    s.freq2 = digitField(set, "DETAIL_FREQ_2", 5, 60);
    v->addLayout(frequencyRow(set, QStringLiteral("Frequency"), s.freq1, s.freq2));
    const struct {
        const char *title;
        QStringList options;
        const char *base;
        int columns;
        QButtonGroup **group;
    } frames[] = {{"Modulation Mode", edit::modeOptionTexts(), "DETAIL_MODE", 4, &s.mode},
                  {"Step", channeltables::stepTexts(), "DETAIL_STEP", 4, &s.step},
                  {"TSQ/DCS", edit::squelchOptionTexts(), "PALSE_TYPE", 6, &s.squelch}};
    for (const auto &f : frames) {
        *f.group = new QButtonGroup(s.box);
        v->addWidget(optionFrame(QLatin1String(f.title), f.options, suffixed(f.base, set),
                                 f.columns, *f.group, s.box));
    }
    v->addLayout(codeLists(set));
    v->addLayout(shiftRow(set));
    s.skip = new QCheckBox(QStringLiteral("Skip"), s.box);
    s.skip->setObjectName(suffixed("DETAIL_SKIP", set));
    v->addWidget(s.skip);
    addNameRows(set, v);
    v->addStretch(1);
    return s.box;
}

void DetailDialog::setDefaults(int set) {
    ColumnSet &s = m_sets[set];
    s.name->clear();
    s.skip->setChecked(false);
    checkOption(s.mode, 0);
    checkOption(s.squelch, 0);
    checkOption(s.step, 0);
    checkOption(s.shift, 0);
    s.txTone->setCurrentIndex(channeltables::kDefaultToneIndex);
    s.rxTone->setCurrentIndex(channeltables::kDefaultToneIndex);
    s.dcs->setCurrentIndex(channeltables::kDefaultDcsIndex);
    s.carrier->setCurrentIndex(channeltables::kDefaultCarrierIndex);
    s.freq1->clear();
    s.freq2->clear();
    s.shift1->clear();
    s.shift2->clear();
    s.original = edit::EditSet{};
}

void DetailDialog::fillSet(int set, const ChannelTable &table, int slot) {
    ColumnSet &s = m_sets[set];
    setDefaults(set);
    const int row = ChannelTable::rowOfSlot(slot);
    const QString frequency = table.text(row, ChannelTable::FreqCol);
    if (frequency.isEmpty()) return; // an empty row: fields empty, the defaults chosen

    const auto [integer, decimals] = splitNumber(frequency);
    s.freq1->setText(integer);
    s.freq2->setText(decimals);
    checkOption(s.mode, edit::modeOption(table.text(row, ChannelTable::ModeCol)).value_or(-1));
    checkOption(s.squelch,
                edit::squelchOption(table.text(row, ChannelTable::ToneModeCol)).value_or(-1));
    checkOption(s.shift, edit::shiftOption(table.text(row, ChannelTable::ShiftCol)).value_or(-1));
    checkOption(s.step, table.stepIndex(slot));
    selectEntry(s.txTone, table.txToneIndex(slot));
    selectEntry(s.rxTone, table.rxToneIndex(slot));
    selectEntry(s.dcs, table.dcsIndex(slot));
    selectEntry(s.carrier, table.carrierIndex(slot));
    const auto [shiftInteger, shiftDecimals] =
        splitNumber(table.text(row, ChannelTable::ShiftFreqCol));
    s.shift1->setText(shiftInteger);
    s.shift2->setText(shiftDecimals);
    s.skip->setChecked(table.text(row, ChannelTable::SkipCol) == QLatin1String("*"));
    s.name->setText(table.text(row, ChannelTable::NameCol));
    s.original.name = s.name->text();

    s.original.stepIndex = table.stepIndex(slot);
    s.original.txToneIndex = table.txToneIndex(slot);
    s.original.rxToneIndex = table.rxToneIndex(slot);
    s.original.dcsIndex = table.dcsIndex(slot);
    s.original.carrierIndex = table.carrierIndex(slot);
}

void DetailDialog::clearSet(int set) {
    if (set < 0 || set > 1) return;
    setDefaults(set);
    // A call channel cannot be emptied: after Clear it can only be cancelled.
    if (set == 0 && !m_pair && edit::isCallSlot(m_state.slot)) m_enter->setEnabled(false);
}

void DetailDialog::insertUserCharacter(int set, int i) {
    if (set < 0 || set > 1 || i < 0 || i >= names::kUserCharacters) return;
    QLineEdit *name = m_sets[set].name;
    if (names::measure(name->text()) > names::kMaxLength - 1) return;
    name->setText(name->text() + names::userCharacterToken(i + 1));
    name->setCursorPosition(int(name->text().size()));
    name->setFocus();
}

edit::EditSet DetailDialog::readSet(int set) {
    ColumnSet &s = m_sets[set];
    const int slot = m_state.slot + set;
    edit::EditSet b = s.original;

    edit::FrequencyFields fields{s.freq1->text(), s.freq2->text()};
    b.frequency = edit::acceptFrequency(fields, slot, m_pair);
    s.freq1->setText(fields.integer);
    s.freq2->setText(fields.decimals);

    b.modeCode = s.mode->checkedId(); // -1: no mode chosen
    b.squelchCode = s.squelch->checkedId();
    b.shiftCode = std::max(0, s.shift->checkedId());
    if (s.step->checkedId() >= 0) b.stepIndex = s.step->checkedId();
    const auto take = [](QComboBox *list, int &field) {
        if (list->currentIndex() >= 0) field = list->currentIndex();
    };
    take(s.txTone, b.txToneIndex);
    take(s.rxTone, b.rxToneIndex);
    take(s.dcs, b.dcsIndex);
    take(s.carrier, b.carrierIndex);

    // The shift fields as their focus-loss corrections leave them, also when
    // they never had the focus.
    s.shift1->setText(edit::correctShiftInteger(s.shift1->text()));
    s.shift2->setText(edit::correctShiftDecimals(s.shift1->text(), s.shift2->text()));
    b.shiftFrequency = s.shift1->text() + QLatin1Char('.') + s.shift2->text();
    b.skip = s.skip->isChecked();

    // A name left as it was filled in keeps what the radio holds; an edited
    // one loses the double-byte characters outside the allowed set.
    if (s.name->text() != s.original.name) s.name->setText(names::filterAllowed(s.name->text()));
    b.name = s.name->text();
    return b;
}

void DetailDialog::enter() {
    if (!m_enter->isEnabled()) return;
    m_state.buffer[0] = readSet(0);
    m_state.buffer[1] = m_pair ? readSet(1) : edit::EditSet{};
    m_state.editAction =
        edit::editActionFor(m_pair, m_state.buffer[0].frequency, m_state.buffer[1].frequency);
    accept();
}

void DetailDialog::reject() {
    m_state.editAction = edit::NoEdit;
    QDialog::reject();
}

bool DetailDialog::eventFilter(QObject *watched, QEvent *event) {
    if (watched->property(kDiscardKeysProperty).toBool()) {
        // The tone and DCS lists are chosen with the mouse only. Escape still
        // closes an open list without choosing.
        const bool escapeInList =
            !qobject_cast<QComboBox *>(watched) &&
            (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
             event->type() == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape;
        if (!escapeInList &&
            (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease ||
             event->type() == QEvent::ShortcutOverride))
            return true;
        return QDialog::eventFilter(watched, event);
    }
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field) return QDialog::eventFilter(watched, event);

    // Text entering the fields passes their entry guards (ui::guardEntry).
    switch (event->type()) {
    case QEvent::FocusOut: {
        const int part = field->property(kShiftPartProperty).toInt();
        const int set = field->property(kSetProperty).toInt();
        if (part == 1)
            field->setText(edit::correctShiftInteger(field->text()));
        else if (part == 2)
            field->setText(edit::correctShiftDecimals(m_sets[set].shift1->text(), field->text()));
        return false;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

} // namespace kpr5
