#include "gui/common/TitleFrame.h"

#include "core/common/OpeningTitle.h"
#include "core/common/TitleTransfer.h"
#include "core/settings/SettingsCatalogue.h"
#include "core/text/NameCodec.h"
#include "gui/settings/SettingListWidget.h"
#include "gui/widgets/EntryGuard.h"
#include "gui/widgets/TransferButtons.h"
#include "gui/widgets/Workspace.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kpr5 {

namespace {

// `TITLE_TEXT`: a view of the title's display text. Whatever enters it (keys,
// input methods, pastes, drops) passes the title key filter first.
class TitleEdit : public QLineEdit {
public:
    TitleEdit(OpeningTitle &title, QWidget *parent) : QLineEdit(parent), m_title(title) {
        setObjectName(QStringLiteral("TITLE_TEXT"));
        ui::guardEntry(this, ui::nameRule(true));
        setText(title.displayText());
        connect(this, &QLineEdit::textEdited, this,
                [this](const QString &t) { m_title.setDisplayText(t); });
        connect(&title, &OpeningTitle::displayTextChanged, this, [this](const QString &t) {
            if (t != text()) setText(t);
        });
    }

private:
    OpeningTitle &m_title;
};

class MovingList : public ChoiceOnlyList {
public:
    MovingList(OpeningTitle &title, QWidget *parent) : ChoiceOnlyList(parent), m_title(title) {
        setObjectName(QStringLiteral("OP_DOUSA"));
        setAccessibleName(QStringLiteral("Opening Moving"));
        setToolTip(QStringLiteral("Opening Moving"));
        fill(OpeningTitle::movingEntries(), title.openingMoving());
        connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (index >= 0) m_title.setOpeningMoving(index);
        });
        connect(&title, &OpeningTitle::openingMovingChanged, this, [this](int entry) {
            if (entry != currentIndex()) {
                const QSignalBlocker block(this);
                setCurrentIndex(entry);
            }
        });
    }

private:
    OpeningTitle &m_title;
};

} // namespace

QWidget *createTitleFrame(Workspace &workspace) {
    OpeningTitle &title = workspace.document().title;
    auto *box = new QGroupBox(QStringLiteral("Title Name"));
    box->setObjectName(QStringLiteral("TITLE"));
    auto *outer = new QVBoxLayout(box);

    auto *edit = new TitleEdit(title, box);
    outer->addWidget(edit);

    auto *tokens = new QHBoxLayout;
    tokens->setSpacing(2);
    for (int i = 0; i < names::kUserCharacters; ++i) {
        auto *b = new QPushButton(QString::number(i + 1), box);
        b->setObjectName(QStringLiteral("Command2(%1)").arg(i));
        b->setFixedWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("88")) + 12);
        QObject::connect(b, &QPushButton::clicked, box, [&title, edit, i] {
            // The token goes at the end of the text, wherever the caret is.
            if (title.appendUserCharacter(i)) {
                edit->setCursorPosition(int(edit->text().size()));
                edit->setFocus();
            }
        });
        tokens->addWidget(b);
    }
    tokens->addStretch(1);
    outer->addLayout(tokens);

    auto *moving = new QHBoxLayout;
    auto *caption =
        new QLabel(settings::openingSlideCaption(workspace.document().settings.language()), box);
    caption->setObjectName(QStringLiteral("DOUSA"));
    auto *list = new MovingList(title, box);
    caption->setBuddy(list);
    moving->addWidget(caption);
    moving->addWidget(list);
    moving->addStretch(1);
    outer->addLayout(moving);
    QObject::connect(&workspace, &Workspace::languageApplied, caption, [caption](int lang) {
        caption->setText(settings::openingSlideCaption(lang));
    });

    Workspace *w = &workspace;
    addTransferButtons(
        outer, box, workspace, {"TITLE_READ", "TITLE_WRITE", "TITLE_CLEAR"},
        [w] {
            if (!w->transferRunning() && w->confirmUnsaved(TitleRegion))
                readTitle(w->document().title, w->link(), w->host());
        },
        [w] {
            if (succeeded(writeTitle(w->document().title, w->link(), w->host())))
                w->markWritten(TitleRegion);
        },
        [w] { w->document().title.clear(); });
    return box;
}

} // namespace kpr5
