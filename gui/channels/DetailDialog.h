#pragma once
// `Form2`: the channel detail editor. It edits one slot, or both slots of a
// dual-watch pair side by side (the second column set's controls carry the
// suffix "_2": `DETAIL_FREQ_1_2`, `Command1_2(3)` ...). `DETAIL_ENTER` runs
// the acceptance rules and fills the edit buffer; the table applies it after
// the window has closed (edit::commitEdit). The window never changes the
// table itself.

#include "core/channels/ChannelValidation.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace kpr5 {

class ChannelTable;

class DetailDialog : public QDialog {
    Q_OBJECT
public:
    // Opens on `state.slot` (a pair's "(Main)" slot when that slot is a
    // dual-watch slot) and fills the controls from the table.
    DetailDialog(const ChannelTable &table, edit::EditState &state, QWidget *parent = nullptr);
    ~DetailDialog() override;

    bool isPair() const { return m_pair; }

    // `DETAIL_ENTER`: nothing while the button is disabled.
    void enter();
    // `DETAIL_CANCEL` (also Escape and the close box).
    void reject() override;
    // `DETAIL_CLEAR` (set 0) and `DETAIL_CLEAR_2` (set 1).
    void clearSet(int set);
    // `Command1(i)` / `Command1_2(i)`: the token of user character i + 1.
    void insertUserCharacter(int set, int i);

    // Widths in twips of the two layouts.
    static constexpr int kSingleWidthTwips = 6555;
    static constexpr int kPairWidthTwips = 13440;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct ColumnSet {
        QWidget *box = nullptr;
        QLineEdit *freq1 = nullptr;
        QLineEdit *freq2 = nullptr;
        QButtonGroup *mode = nullptr;
        QButtonGroup *step = nullptr;
        QButtonGroup *squelch = nullptr;
        QButtonGroup *shift = nullptr;
        QComboBox *txTone = nullptr;
        QComboBox *rxTone = nullptr;
        QComboBox *dcs = nullptr;
        QComboBox *carrier = nullptr;
        QLineEdit *shift1 = nullptr;
        QLineEdit *shift2 = nullptr;
        QCheckBox *skip = nullptr;
        QLineEdit *name = nullptr;
        QPushButton *clear = nullptr;
        // The slot's own values, kept for fields left without a valid choice.
        edit::EditSet original;
    };

    QWidget *buildSet(int set);
    QLineEdit *digitField(int set, const char *base, int limit, int width);
    QComboBox *codeList(int set, const char *base, const QStringList &entries, bool mouseOnly);
    QHBoxLayout *frequencyRow(int set, const QString &label, QLineEdit *whole, QLineEdit *fraction);
    QGridLayout *codeLists(int set);
    QHBoxLayout *shiftRow(int set);
    void addNameRows(int set, QVBoxLayout *column);
    void fillSet(int set, const ChannelTable &table, int slot);
    void setDefaults(int set);
    edit::EditSet readSet(int set);

    edit::EditState &m_state;
    bool m_pair = false;
    std::array<ColumnSet, 2> m_sets;
    QLabel *m_label = nullptr;
    QPushButton *m_enter = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace kpr5
