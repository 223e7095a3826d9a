#pragma once
// The "Title Name" frame of the "Common Set" page: the title field
// `TITLE_TEXT` (display form, with the title key filter), the opening-moving
// list `OP_DOUSA` ("OFF" / "ON") with its caption `DOUSA`, the user-character
// buttons `Command2(0..7)` "1".."8", and `TITLE_CLEAR`, `TITLE_READ`,
// `TITLE_WRITE`. The widgets show the OpeningTitle of the main window's
// document.

class QWidget;

namespace kpr5 {
class Workspace;
QWidget *createTitleFrame(Workspace &workspace);
} // namespace kpr5
