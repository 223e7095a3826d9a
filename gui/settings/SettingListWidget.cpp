#include "gui/settings/SettingListWidget.h"

#include "core/settings/SettingsModel.h"
#include "gui/widgets/MessageDialog.h"

#include <QAbstractItemView>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

namespace kpr5 {

namespace {
// A key that types a character (as opposed to moving through the list).
bool typesCharacter(const QKeyEvent *event) {
    const QString text = event->text();
    if (text.isEmpty()) return false;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return text.at(0).isPrint();
}
} // namespace

ChoiceOnlyList::ChoiceOnlyList(QWidget *parent) : QComboBox(parent) {
    setEditable(false);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The open list would search for typed characters too.
    view()->installEventFilter(this);
}

void ChoiceOnlyList::keyPressEvent(QKeyEvent *event) {
    if (typesCharacter(event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

bool ChoiceOnlyList::eventFilter(QObject *watched, QEvent *event) {
    if (watched == view() && event->type() == QEvent::KeyPress &&
        typesCharacter(static_cast<QKeyEvent *>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

void ChoiceOnlyList::fill(const QStringList &entries, int position) {
    const QSignalBlocker block(this);
    clear();
    addItems(entries);
    setCurrentIndex(position);
    ++m_fills;
}

SettingListWidget::SettingListWidget(SettingsModel &model, const SettingItem &item, QWidget *parent)
    : ChoiceOnlyList(parent), m_model(model), m_item(item) {
    setObjectName(settings::controlName(item.family, item.element));
    fill(item.options(model.language()), model.position(item.family, item.element));

    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) m_model.setPosition(m_item.family, m_item.element, index);
    });
    connect(&model, &SettingsModel::positionChanged, this, [this](Family f, int e, int) {
        if (f == m_item.family && e == m_item.element) showPosition();
    });
    connect(&model, &SettingsModel::languageChanged, this, [this] { rebuild(); });
}

void SettingListWidget::showPosition() {
    const int p = m_model.position(m_item.family, m_item.element);
    if (p != currentIndex()) {
        const QSignalBlocker block(this);
        setCurrentIndex(p);
    }
}

void SettingListWidget::rebuild() {
    if (m_item.fixed) return;
    // Every entry goes in before the position is selected again, so that no
    // position is lost on the way (the Moni active on list's last entry).
    fill(m_item.options(m_model.language()), m_model.position(m_item.family, m_item.element));
}

namespace settings {

void addItemRows(SettingsModel &model, SettingFrameId frame, QGridLayout *grid, int column,
                 QWidget *parent) {
    int row = -1;
    QLabel *label = nullptr;
    int listColumn = column + 1;
    for (const SettingItem &it : catalogue()) {
        if (it.frame != frame) continue;
        if (!it.sharesRow || !label) {
            ++row;
            label = new QLabel(it.caption(model.language()), parent);
            // The channel display frame's one label is no array.
            label->setObjectName(frame == SettingFrameId::ChannelDisplay
                                     ? labelFamily(frame)
                                     : QStringLiteral("%1(%2)").arg(labelFamily(frame)).arg(row));
            const SettingItem *captioned = &it;
            QObject::connect(
                &model, &SettingsModel::languageChanged, label,
                [label, captioned](int lang) { label->setText(captioned->caption(lang)); });
            grid->addWidget(label, row, column);
            listColumn = column + 1;
        } else {
            ++listColumn;
        }
        grid->addWidget(new SettingListWidget(model, it, parent), row, listColumn);
    }
}

QGroupBox *createItemFrame(SettingsModel &model, SettingFrameId frame, QWidget *parent) {
    // A group box takes "&" for a shortcut marker: "<POWER & BATT.>" is shown as written.
    auto *box = new QGroupBox(ui::literalAmpersands(frameCaption(frame, model.language())), parent);
    box->setObjectName(frameName(frame));
    QObject::connect(&model, &SettingsModel::languageChanged, box, [box, frame](int lang) {
        box->setTitle(ui::literalAmpersands(frameCaption(frame, lang)));
    });
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(2);
    addItemRows(model, frame, grid, 0, box);
    grid->setColumnStretch(1, 1);
    return box;
}

} // namespace settings
} // namespace kpr5
