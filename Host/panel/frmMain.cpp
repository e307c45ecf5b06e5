#include "frmMain.h"

#include <QCoreApplication>

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmMain");
    setWindowTitle("Hushmark " + QCoreApplication::applicationVersion());
}
