#include "settings/SetModePage.h"

#include "app/MainWindow.h"

#include <QWidget>

namespace kpr5 {

QWidget *createSetModeFrames(MainWindow &window)
{
    Q_UNUSED(window);
    return new QWidget;
}

} // namespace kpr5
