#pragma once
// The eight 16 x 16 user characters.

#include <QObject>

namespace kpr5 {

class FontImage : public QObject {
    Q_OBJECT
public:
    explicit FontImage(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace kpr5
