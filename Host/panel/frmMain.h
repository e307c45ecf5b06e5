#pragma once

#include <QMainWindow>

// The control panel: the program's main window.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};
