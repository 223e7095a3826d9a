#pragma once
// The views of the settings pages: a drop-down list bound to one settings
// item of the SettingsModel (it holds no value of its own), and the frames
// that stand an item's caption left of its list, one row per item.

#include "core/settings/SettingsCatalogue.h"

#include <QComboBox>

class QGroupBox;
class QGridLayout;

namespace kpr5 {

class SettingsModel;

// A list that changes only by choosing: typed characters are discarded.
class ChoiceOnlyList : public QComboBox {
    Q_OBJECT
public:
    explicit ChoiceOnlyList(QWidget *parent = nullptr);
    // How many times the entries were (re)filled.
    int fillCount() const { return m_fills; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void fill(const QStringList &entries, int position);

private:
    int m_fills = 0;
};

// The list of one settings item: shows the model's position, writes the
// user's choice to the model, and is refilled in the other language when the
// model's language changes (fixed lists never are).
class SettingListWidget : public ChoiceOnlyList {
    Q_OBJECT
public:
    SettingListWidget(SettingsModel &model, const SettingItem &item, QWidget *parent = nullptr);
    const SettingItem &item() const { return m_item; }

private:
    void showPosition();
    void rebuild();

    SettingsModel &m_model;
    const SettingItem &m_item;
};

namespace settings {
// Add the rows of one frame's items (caption label and list) to a grid
// starting at `column`; labels are named labelFamily(frame) + "(row)".
void addItemRows(SettingsModel &model, SettingFrameId frame, QGridLayout *grid, int column,
                 QWidget *parent);
// A captioned frame (Frame8 …) holding the rows of its items.
QGroupBox *createItemFrame(SettingsModel &model, SettingFrameId frame, QWidget *parent);
} // namespace settings

} // namespace kpr5
