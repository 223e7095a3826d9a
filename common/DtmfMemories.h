#pragma once
// The ten DTMF auto-dialler memories and their five timing settings.

#include <QObject>

namespace kpr5 {

class DtmfMemories : public QObject {
    Q_OBJECT
public:
    explicit DtmfMemories(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
