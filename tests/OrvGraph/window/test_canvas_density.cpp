// The viewer's picture on a screen of twice the density: drawn at the
// screen's pixels, so its lines are one device pixel wide, not two.

#include "ViewerFixture.h"
#include "frmGraph.h"

#include <QApplication>

using namespace ViewerFixture;

class CanvasDensityTest : public QObject {
    Q_OBJECT
private slots:
    void pictureHasTheScreensPixels();
};

void CanvasDensityTest::pictureHasTheScreensPixels() {
    clearSettings();
    SampleFiles files;
    frmGraph form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QString path = files.leq;
    form.setOpenFileSource([path](QWidget*, const QString&) { return path; });
    trigger(&form, "itmReadFile");
    const QPixmap& picture = form.picture();
    QWidget* canvas = form.findChild<QWidget*>(QStringLiteral("pbxGraph"));
    QCOMPARE(picture.devicePixelRatio(), 2.0);
    QCOMPARE(picture.size(), canvas->size() * 2);
    // The plot's top edge: one black device row with white below it.
    const QImage image = picture.toImage();
    const PlotArea& area = form.plotArea();
    const int x = int(2 * (area.left + area.width / 2));
    const int y = int(2 * area.top);
    QCOMPARE(qGray(image.pixel(x, y)), 0);
    QCOMPARE(image.pixel(x, y + 1), qRgb(255, 255, 255));
}

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    CanvasDensityTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_canvas_density.moc"
