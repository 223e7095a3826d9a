#pragma once
// The opening title and its opening-moving setting.

#include <QObject>

namespace kpr5 {

class OpeningTitle : public QObject {
    Q_OBJECT
public:
    explicit OpeningTitle(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
