#pragma once
// The bank table: 50 bank sizes that sum to 1000.

#include <QObject>

namespace kpr5 {

class BankTable : public QObject {
    Q_OBJECT
public:
    explicit BankTable(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
