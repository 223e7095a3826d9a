#pragma once
// The bank-link groups: 11 groups x 50 banks, and a group flag per bank.

#include <QObject>

namespace kpr5 {

class GroupTable : public QObject {
    Q_OBJECT
public:
    explicit GroupTable(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
