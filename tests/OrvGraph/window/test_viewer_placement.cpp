// Where the viewer window opens and how small it may get: the stored placement
// in twips (defaults, values that do not parse, positions off the screen),
// saving it on close only in the normal state, the resize limits, and the
// layout of the controls over the plot.

#include "OrvGraph.h"
#include "Twips.h"
#include "ViewerFixture.h"
#include "frmGraph.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

using namespace ViewerFixture;

namespace {

void store(const QMap<QString, QString>& values) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Orv", "Orv");
    settings.beginGroup("Viewer");
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
}

QString stored(const QString& key) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Orv", "Orv");
    return settings.value("Viewer/" + key).toString();
}

QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

class ViewerPlacementTest : public QObject {
    Q_OBJECT
private slots:
    void init();

    void twipsAreFifteenPerPixel();

    // Placement read at load.
    void placement_data();
    void placement();
    void offScreenWindowsAreBroughtBack_data();
    void offScreenWindowsAreBroughtBack();

    // Placement saved at unload.
    void closingSavesThePlacementInTwips();
    void closingMaximisedKeepsTheStoredPlacement();
    void closingMinimisedKeepsTheStoredPlacement();

    // Resizing.
    void resizeLimits();
    void controlsFollowThePlot();
};

void ViewerPlacementTest::init() {
    clearSettings();
}

void ViewerPlacementTest::twipsAreFifteenPerPixel() {
    QCOMPARE(QGuiApplication::primaryScreen()->logicalDotsPerInch(), 96.0);
    QCOMPARE(Twips::toPixels(1440), 96);
    QCOMPARE(Twips::toPixels(9135), 609);
    QCOMPARE(Twips::toPixels(6540), 436);
    QCOMPARE(Twips::fromPixels(200), 3000);
    QCOMPARE(Twips::toPixels(QSize(4500, 3000)), QSize(300, 200));
}

void ViewerPlacementTest::placement_data() {
    QTest::addColumn<QStringList>("values"); // Left, Top, Width, Height; empty: not stored
    QTest::addColumn<QRect>("expected");
    QTest::newRow("nothing stored") << QStringList{"", "", "", ""} << QRect(0, 0, 609, 436);
    QTest::newRow("stored") << QStringList{"1500", "750", "7500", "4500"}
                            << QRect(100, 50, 500, 300);
    QTest::newRow("blanks around")
        << QStringList{" 1500 ", "750", "7500 ", "4500"} << QRect(100, 50, 500, 300);
    QTest::newRow("not numbers") << QStringList{"abc", "1.5e3", "wide", "0x100"}
                                 << QRect(0, 0, 609, 436);
    QTest::newRow("some bad") << QStringList{"1500", "x", "7500", ""} << QRect(100, 0, 500, 436);
    QTest::newRow("below the limits") << QStringList{"0", "0", "15", "15"} << QRect(0, 0, 300, 200);
    QTest::newRow("overflowing") << QStringList{"99999999999", "0", "9135", "6540"}
                                 << QRect(0, 0, 609, 436);
}

void ViewerPlacementTest::placement() {
    QFETCH(QStringList, values);
    QFETCH(QRect, expected);
    const QStringList keys = {"Left", "Top", "Width", "Height"};
    QMap<QString, QString> stored;
    for (int i = 0; i < 4; ++i)
        if (!values[i].isEmpty())
            stored[keys[i]] = values[i];
    store(stored);
    OrvGraph graph;
    QCOMPARE(QRect(graph.form()->pos(), graph.form()->size()), expected);
}

void ViewerPlacementTest::offScreenWindowsAreBroughtBack_data() {
    QTest::addColumn<QStringList>("values");
    QTest::newRow("far left") << QStringList{"-150000", "750", "7500", "4500"};
    QTest::newRow("far down") << QStringList{"750", "150000", "7500", "4500"};
    QTest::newRow("partly right") << QStringList{
        QString::number(Twips::fromPixels(available().right() - 50)), "0", "7500", "4500"};
    QTest::newRow("larger than the screen") << QStringList{"0", "0", "300000", "300000"};
}

void ViewerPlacementTest::offScreenWindowsAreBroughtBack() {
    QFETCH(QStringList, values);
    store({{"Left", values[0]}, {"Top", values[1]}, {"Width", values[2]}, {"Height", values[3]}});
    OrvGraph graph;
    const QRect window(graph.form()->pos(), graph.form()->size());
    QVERIFY2(available().contains(window), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                          .arg(window.x())
                                                          .arg(window.y())
                                                          .arg(window.width())
                                                          .arg(window.height())));
}

void ViewerPlacementTest::closingSavesThePlacementInTwips() {
    OrvGraph graph;
    graph.form()->move(40, 30);
    graph.form()->resize(400, 260);
    graph.form()->close();
    QCOMPARE(stored("Left"), QStringLiteral("600"));
    QCOMPARE(stored("Top"), QStringLiteral("450"));
    QCOMPARE(stored("Width"), QStringLiteral("6000"));
    QCOMPARE(stored("Height"), QStringLiteral("3900"));
    // And the next viewer opens there.
    OrvGraph next;
    QCOMPARE(QRect(next.form()->pos(), next.form()->size()), QRect(40, 30, 400, 260));
}

void ViewerPlacementTest::closingMaximisedKeepsTheStoredPlacement() {
    store({{"Left", "1500"}, {"Top", "750"}, {"Width", "7500"}, {"Height", "4500"}});
    OrvGraph graph;
    graph.form()->showMaximized();
    QVERIFY(graph.form()->isMaximized());
    graph.form()->close();
    QCOMPARE(stored("Left"), QStringLiteral("1500"));
    QCOMPARE(stored("Top"), QStringLiteral("750"));
    QCOMPARE(stored("Width"), QStringLiteral("7500"));
    QCOMPARE(stored("Height"), QStringLiteral("4500"));
}

void ViewerPlacementTest::closingMinimisedKeepsTheStoredPlacement() {
    OrvGraph graph;
    graph.form()->showMinimized();
    graph.form()->close();
    QVERIFY(stored("Left").isEmpty());
    QVERIFY(stored("Width").isEmpty());
}

void ViewerPlacementTest::resizeLimits() {
    OrvGraph graph;
    frmGraph* form = graph.form();
    form->resize(500, Twips::toPixels(2000));
    QCOMPARE(form->height(), Twips::toPixels(3000));
    form->resize(Twips::toPixels(4000), 400);
    QCOMPARE(form->width(), Twips::toPixels(4500));
    QCOMPARE(form->height(), 400);
    form->resize(700, 500);
    QCOMPARE(form->size(), QSize(700, 500));
}

void ViewerPlacementTest::controlsFollowThePlot() {
    OrvGraph graph;
    frmGraph* form = graph.form();
    auto* previous = form->findChild<QPushButton*>("cmdPrevious");
    auto* next = form->findChild<QPushButton*>("cmdNext");
    auto* cursor = form->findChild<QLabel*>("lblCursor");

    form->resize(700, 500);
    PlotArea plot = form->plotArea();
    QVERIFY(plot.width >= 250);
    QCOMPARE(previous->text(), QStringLiteral("Previous Page"));
    QCOMPARE(next->text(), QStringLiteral("Next Page"));
    QCOMPARE(previous->geometry(), QRect(int(plot.left) + 5, int(plot.top) + 5, 89, 29));
    QCOMPARE(next->geometry(),
             QRect(int(plot.left + plot.width) - 89 - 5, int(plot.top) + 5, 89, 29));
    QCOMPARE(cursor->y(), 0);
    QCOMPARE(cursor->geometry().right() + 1, int(plot.left + plot.width));
    QCOMPARE(cursor->text(), QStringLiteral("Cursor : Time 22/22/2222 22:22 , Level  222.2dB"));

    // At the smallest width the plot is narrower than 250 units.
    form->resize(Twips::toPixels(4500), 400);
    plot = form->plotArea();
    QVERIFY(plot.width < 250);
    QCOMPARE(previous->text(), QStringLiteral("Previous"));
    QCOMPARE(next->text(), QStringLiteral("Next"));
    QCOMPARE(previous->size(), QSize(57, 17));
    QCOMPARE(next->geometry(),
             QRect(int(plot.left + plot.width) - 57 - 5, int(plot.top) + 5, 57, 17));
    // The plot follows the window's inner size.
    QCOMPARE(plot.surface, QSizeF(form->centralWidget()->size()));
}

QTEST_MAIN(ViewerPlacementTest)
#include "test_viewer_placement.moc"
