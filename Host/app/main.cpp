#include "ActivityWindows.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Hushmark");
    QApplication::setApplicationVersion(HUSHMARK_VERSION);
    frmMain window(QApplication::arguments().mid(1), CreateActivityWindows);
    window.show();
    return app.exec();
}
