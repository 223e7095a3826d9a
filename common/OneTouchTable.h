#pragma once
// The nine one-touch keys.

#include <QObject>

namespace kpr5 {

class OneTouchTable : public QObject {
    Q_OBJECT
public:
    explicit OneTouchTable(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
