#pragma once
// The channel table: 1624 slots with twelve cell texts each and the per-slot values.

#include <QObject>

namespace kpr5 {

class ChannelTable : public QObject {
    Q_OBJECT
public:
    explicit ChannelTable(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
