#pragma once
// The version window `Form3`, caption "Version".

#include <QDialog>

namespace kpr5 {

class VersionWindow : public QDialog {
    Q_OBJECT
public:
    explicit VersionWindow(QWidget *parent = nullptr);
};

} // namespace kpr5
