#include "gui/common/DtmfFrame.h"

#include "core/common/DtmfMemories.h"
#include "core/settings/SettingsTransfer.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/widgets/TransferButtons.h"
#include "gui/widgets/Workspace.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

namespace {

// `COMMON_DTMF(i)`: a view of one memory with the memory's key filter and
// its clean-up when the field loses the focus.
class DtmfMemoryEdit : public QLineEdit {
public:
    DtmfMemoryEdit(DtmfMemories &model, int index, QWidget *parent)
        : QLineEdit(parent), m_model(model), m_index(index) {
        setObjectName(QStringLiteral("COMMON_DTMF(%1)").arg(index));
        setText(model.memory(index));
        connect(this, &QLineEdit::textEdited, this,
                [this](const QString &t) { m_model.setMemory(m_index, t); });
        connect(&model, &DtmfMemories::memoryChanged, this, [this](int i, const QString &t) {
            if (i == m_index && t != text()) setText(t);
        });
    }

protected:
    void keyPressEvent(QKeyEvent *event) override {
        QChar key;
        if (event->key() == Qt::Key_Backspace)
            key = QChar(0x08);
        else if (!event->text().isEmpty() && event->text().at(0).isPrint() &&
                 !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            key = event->text().at(0);
        else
            return QLineEdit::keyPressEvent(event); // moving, selecting, copy and paste
        switch (DtmfMemories::filterKey(text(), key)) {
        case DtmfMemories::KeyAction::Accept:
            QLineEdit::keyPressEvent(event);
            break;
        case DtmfMemories::KeyAction::Empty:
            clear();
            m_model.setMemory(m_index, QString());
            event->accept();
            break;
        case DtmfMemories::KeyAction::Discard:
            event->accept();
            break;
        }
    }

    void focusOutEvent(QFocusEvent *event) override {
        m_model.setMemory(m_index, DtmfMemories::cleaned(text()));
        QLineEdit::focusOutEvent(event);
    }

private:
    DtmfMemories &m_model;
    int m_index;
};

// One of the five timing lists.
class DtmfTimingList : public ChoiceOnlyList {
public:
    DtmfTimingList(DtmfMemories &model, DtmfMemories::Timing timing, QWidget *parent)
        : ChoiceOnlyList(parent), m_model(model), m_timing(timing) {
        setObjectName(DtmfMemories::timingControlName(timing));
        fill(DtmfMemories::timingOptions(timing), model.timing(timing));
        connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index >= 0) m_model.setTiming(m_timing, index);
        });
        connect(&model, &DtmfMemories::timingChanged, this, [this](int t, int position) {
            if (t == m_timing && position != currentIndex()) {
                const QSignalBlocker block(this);
                setCurrentIndex(position);
            }
        });
    }

private:
    DtmfMemories &m_model;
    DtmfMemories::Timing m_timing;
};

} // namespace

QWidget *createDtmfFrame(Workspace &workspace) {
    DtmfMemories &model = workspace.document().dtmf;
    auto *box = new QGroupBox(QStringLiteral("DTMF"));
    box->setObjectName(QStringLiteral("DTMF"));
    auto *outer = new QVBoxLayout(box);

    auto *memories = new QGridLayout;
    memories->setVerticalSpacing(2);
    for (int i = 0; i < DtmfMemories::kMemoryCount; ++i) {
        auto *label = new QLabel(QString::number(i), box);
        label->setObjectName(QStringLiteral("DTMF_LABEL(%1)").arg(i));
        memories->addWidget(label, i, 0);
        memories->addWidget(new DtmfMemoryEdit(model, i, box), i, 1);
    }
    outer->addLayout(memories);

    auto *timings = new QGridLayout;
    timings->setVerticalSpacing(2);
    const DtmfMemories::Timing order[] = {DtmfMemories::Wait, DtmfMemories::Head,
                                          DtmfMemories::Burst, DtmfMemories::Pause,
                                          DtmfMemories::DialChannel};
    int row = 0;
    for (DtmfMemories::Timing t : order) {
        timings->addWidget(new QLabel(DtmfMemories::timingCaption(t), box), row, 0);
        timings->addWidget(new DtmfTimingList(model, t, box), row, 1);
        ++row;
    }
    outer->addLayout(timings);
    outer->addStretch(1);

    Workspace *w = &workspace;
    addTransferButtons(
        outer, box, workspace, {"READ_DTMF", "WRITE_DTMF", "RESET_DTMF"},
        [w] { readDtmf(w->document().dtmf, w->link(), w->host()); },
        [w] { writeDtmf(w->document().dtmf, w->link(), w->host()); },
        [w] { w->document().dtmf.reset(); }, false);
    return box;
}

} // namespace kpr5
