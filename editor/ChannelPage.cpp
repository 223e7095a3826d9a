#include "editor/ChannelPage.h"

#include "app/MainWindow.h"

#include <QWidget>

namespace kpr5 {

QWidget *createMemoryPage(MainWindow &window)
{
    Q_UNUSED(window);
    return new QWidget;
}

} // namespace kpr5
