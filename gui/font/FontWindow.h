#pragma once
// The font editor `Form4` "Font": draw the eight user characters on a 16 x 16
// grid, keep them in font files and move them to and from the radio. The
// window holds no data of its own: it edits the document's font image.

#include "core/font/FontImage.h"
#include "core/font/FontTransfer.h"
#include "core/link/SerialLink.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QVBoxLayout;

namespace kpr5 {

class Workspace;

class FontWindow : public QDialog {
    Q_OBJECT
public:
    // `port`: the main window's port settings, shared.
    FontWindow(FontImage &font, SharedPortSettings port, QWidget *parent = nullptr);
    ~FontWindow() override;

    // The window's own port: the same port number or device path as the main
    // window's, the 200 ms reply timer.
    SerialLink &link() { return m_link; }
    FontTransfer &transfer() { return *m_transfer; }
    void setStartDirectory(const QString &directory) { m_startDirectory = directory; }
    // Opened by the whole-radio read: once shown, run "Read ALL" without the
    // finish message and close.
    void setAutomatic(bool automatic) { m_automatic = automatic; }
    bool automatic() const { return m_automatic; }
    // How the automatic "Read ALL" ended (NotStarted until it ran).
    TransferResult automaticResult() const { return m_automaticResult; }

    // The main window's document state: what the transfers and a font file
    // change is a load (no edit), and Ctrl+Z / Ctrl+Y undo and redo the
    // glyph edits.
    void attach(Workspace &workspace);

    // The character shown in the grid (the `FONT_LIST` position).
    int currentCharacter() const { return m_current; }

    // The handlers of the controls.
    void showCharacter(int k);
    void back();
    void next();
    void clearCharacter();
    void clearAll();
    void setSelection(int value); // `IKKATU_ON` 1, `IKKATU_OFF` 0
    void toggleCell(int row, int col);
    void writeCharacter();
    void readCharacter();
    TransferResult writeAllCharacters();
    TransferResult readAllCharacters();
    void loadFile();
    void saveFile();
    // The automatic mode's one "Read ALL", then the window closes.
    void runAutomatic();

    static const QString kSaveFilter;
    static const QString kOpenFilter;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Escape: closes, or stops a transfer that runs.
    void keyPressEvent(QKeyEvent *event) override;

public Q_SLOTS:
    void done(int result) override;

private:
    class Host;
    void buildControls();
    QMenuBar *buildMenu();
    void buildGrid();
    QVBoxLayout *buildSide();
    void repaint(int k);
    void paintCell(int row, int col, bool set);
    void setTransferControlsEnabled(bool enabled);
    void setLoading(bool loading);

    FontImage &m_font;
    SerialLink m_link;
    std::unique_ptr<Host> m_host;
    std::unique_ptr<FontTransfer> m_transfer;
    QString m_startDirectory;
    Workspace *m_workspace = nullptr;
    bool m_loading = false;
    bool m_automatic = false;
    bool m_automaticStarted = false;
    TransferResult m_automaticResult = TransferResult::NotStarted;
    int m_current = -1; // none yet: the first selection draws

    QTableWidget *m_grid = nullptr;
    QComboBox *m_list = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_stop = nullptr;
    QList<QWidget *> m_transferControls;
};

// The "FONT" button: shows the font editor modally over the main window.
// Ignored while a transfer of the main window runs, unless `automatic`
// (opened by the whole-radio read, which reads all characters and closes;
// the result is that read's).
TransferResult openFontWindow(Workspace &workspace, bool automatic = false);

} // namespace kpr5
