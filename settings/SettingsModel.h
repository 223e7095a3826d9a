#pragma once
// The radio settings: the selected list position of every settings item.

#include <QObject>

namespace kpr5 {

class SettingsModel : public QObject {
    Q_OBJECT
public:
    explicit SettingsModel(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
