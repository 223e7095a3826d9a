#pragma once
// The "OneTouch Memory" frame of the "Common Set" page: per key k (0..8) the
// box `NO_SET(k)` "No Setting" and the lists `COMMON_BANK(k)` and
// `COMMON_CH(k)`, with the buttons `COMMON_ONE_TOUCH_RESET`, `READ_ONE_TOUCH`
// and `WRITE_ONE_TOUCH`. The widgets show the OneTouchTable of the main
// window's document; entering the "Common Set" page rebuilds its lists.

class QWidget;

namespace kpr5 {
class Workspace;
QWidget *createOneTouchFrame(Workspace &workspace);
} // namespace kpr5
