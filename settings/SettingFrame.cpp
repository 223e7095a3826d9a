#include "settings/SettingFrame.h"

#include "app/MainWindow.h"

#include <QWidget>

namespace kpr5 {

QWidget *createSettingFrame(MainWindow &window)
{
    Q_UNUSED(window);
    return new QWidget;
}

} // namespace kpr5
