#include "DownloadForm.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Hushmark");
    QApplication::setApplicationVersion(HUSHMARK_VERSION);
    frmMain window(QApplication::arguments().mid(1));
    // Owned by the main window, as every activity window is.
    auto* download = new DownloadForm(&window);
    frmMain::Activities activities;
    activities.updateBuffers = [download] { download->update_buffers(); };
    window.setActivities(activities);
    window.show();
    return app.exec();
}
