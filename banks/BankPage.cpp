#include "banks/BankPage.h"

#include "app/MainWindow.h"

#include <QWidget>

namespace kpr5 {

QWidget *createBankPage(MainWindow &window)
{
    Q_UNUSED(window);
    return new QWidget;
}

} // namespace kpr5
