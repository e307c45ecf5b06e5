// The noise indicators window on a real viewer: opened from the View menu on
// the range shown, following zoom, paging and Previous Window while open, its
// text on the clipboard, the origin checked again for each file opened, and
// nothing to show without a file.

#include "DialogDriver.h"
#include "ModalAnswerer.h"
#include "ViewerFixture.h"
#include "frmGraph.h"
#include "frmIndicators.h"
#include "frmXAxis.h"

#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QFile>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using namespace ViewerFixture;

namespace {

// Two days of 15-minute records from 00:00 on 30 December: Leq 50 dB the
// first day, 60 dB the second (each record counted on the day its interval
// starts), Lmax 10 dB above, Lmin and the indices 10 dB below.
QByteArray twoDays() {
    using namespace DataFileWriter;
    const QLocale locale = QLocale::system();
    const QDateTime start(QDate(2003, 12, 30), QTime(0, 0), Qt::UTC);
    std::vector<Row> rows;
    for (int k = 0; k < 192; ++k) {
        const QDateTime begins = start.addSecs(k * 900);
        const double leq = begins.date().day() == 30 ? 50 : 60;
        std::vector<double> values{leq, leq + 10};
        values.insert(values.end(), 8, leq - 10);
        values.insert(values.end(), {leq - 10, 21, 6.5, 0});
        rows.push_back({begins.addSecs(900), values});
    }
    return statisticalFile(locale, typicalHeader(locale, start, rows.back().time, false),
                           statisticalColumns(), rows);
}

// The value beside a figure's name in one of the window's two-column grids.
QString figure(const frmIndicators& window, const char* grid, const QString& name) {
    auto* table = window.findChild<QTableWidget*>(QString::fromLatin1(grid));
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == name)
            return table->item(row, 1)->text();
    return QStringLiteral("(no %1)").arg(name);
}

void writeManifest(const QString& dataPath) {
    QFile data(dataPath);
    QVERIFY(data.open(QIODevice::ReadOnly));
    const QByteArray bytes = data.readAll();
    const QJsonObject listed{
        {"name", QFileInfo(dataPath).fileName()},
        {"size", bytes.size()},
        {"sha256",
         QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())}};
    const QJsonObject manifest{{"serialNumber", "70412"},
                               {"buffer", 3},
                               {"downloaded", "2004-01-02T09:00:00Z"},
                               {"files", QJsonArray{listed}}};
    QVERIFY(DataFileWriter::writeFile(QString(dataPath).replace("_Sta.csv", "_Manifest.json"),
                                      QJsonDocument(manifest).toJson()));
}

} // namespace

class IndicatorsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void followsTheView_data();
    void followsTheView();
    void copyPutsTheReportOnTheClipboard();
    void originIsCheckedForEachFileOpened();
    void nothingWithoutAFile();
    void reachedByKeysAndClosedByEscape();

private:
    void open(const QString& path);
    frmIndicators* window() const { return m_form->indicatorsWindow(); }
    QString shownLeq() const { return figure(*window(), "grdLevels", "Leq"); }
    QString shownRecords() const { return figure(*window(), "grdLevels", "Records"); }

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<frmGraph> m_form;
    QString m_path;
};

void IndicatorsWindowTest::init() {
    clearSettings();
    m_folder = std::make_unique<QTemporaryDir>();
    m_path = m_folder->filePath(QStringLiteral("site_Sta.csv"));
    QVERIFY(DataFileWriter::writeFile(m_path, twoDays()));
    m_form = std::make_unique<frmGraph>();
    m_form->resize(800, 500);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void IndicatorsWindowTest::cleanup() {
    m_form.reset();
}

void IndicatorsWindowTest::open(const QString& path) {
    m_form->setOpenFileSource([path](QWidget*, const QString&) { return path; });
    trigger(m_form.get(), "itmReadFile");
}

enum class View { AllData, SecondDayPage, DaytimeBetween, BoxThenPreviousWindow };

void IndicatorsWindowTest::followsTheView_data() {
    QTest::addColumn<View>("view");
    QTest::addColumn<bool>("openedFirst"); // the window open before the view changes
    QTest::addColumn<QString>("records");
    QTest::addColumn<QString>("leq");
    QTest::addColumn<int>("days");
    // The nights of the file's first and second mornings began the day before.
    QTest::newRow("all data") << View::AllData << false << "192"
                              << "57.4 dB" << 3;
    QTest::newRow("opened on the second day's page") << View::SecondDayPage << false << "96"
                                                     << "60.0 dB" << 2;
    QTest::newRow("paged to the second day") << View::SecondDayPage << true << "96"
                                             << "60.0 dB" << 2;
    QTest::newRow("zoomed to 07:00-19:00") << View::DaytimeBetween << true << "48"
                                           << "60.0 dB" << 1;
    QTest::newRow("box, then Previous Window") << View::BoxThenPreviousWindow << true << "192"
                                               << "57.4 dB" << 3;
}

void IndicatorsWindowTest::followsTheView() {
    QFETCH(View, view);
    QFETCH(bool, openedFirst);
    QFETCH(QString, records);
    QFETCH(QString, leq);
    QFETCH(int, days);
    open(m_path);
    if (openedFirst)
        trigger(m_form.get(), "itmViewIndicators");
    switch (view) {
    case View::AllData:
        break;
    case View::SecondDayPage:
        whenModal<frmXAxis>([](frmXAxis* dialog) {
            dialog->findChild<QRadioButton*>(QStringLiteral("optZoom2"))->setChecked(true);
            dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        trigger(m_form.get(), "itmEditXAxis");
        if (openedFirst)
            QCOMPARE(shownRecords(), QStringLiteral("96")); // the first day's page
        m_form->findChild<QPushButton*>(QStringLiteral("cmdNext"))->click();
        break;
    case View::DaytimeBetween:
        whenModal<frmXAxis>([](frmXAxis* dialog) {
            for (const auto& [box, text] : {std::pair{"txtDate0", "31/12/2003"},
                                            {"txtTime0", "07:00"},
                                            {"txtDate1", "31/12/2003"},
                                            {"txtTime1", "19:00"}})
                dialog->findChild<QLineEdit*>(box)->setText(text);
            dialog->findChild<QRadioButton*>(QStringLiteral("optZoom4"))->setChecked(true);
            dialog->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        });
        trigger(m_form.get(), "itmEditXAxis");
        QCOMPARE(figure(*window(), "grdLevels", "Coverage"), QStringLiteral("100.0%"));
        break;
    case View::BoxThenPreviousWindow: {
        QWidget* canvas = m_form->findChild<QWidget*>(QStringLiteral("pbxGraph"));
        const QRect plot = m_form->plotArea().plotRect().toRect();
        const QPoint from = plot.center() - QPoint(plot.width() / 4, plot.height() / 4);
        const QPoint to = plot.center() + QPoint(plot.width() / 4, plot.height() / 4);
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
        QVERIFY(shownRecords().toInt() > 0 && shownRecords().toInt() < 192);
        trigger(m_form.get(), "itmZoomPreviousWindow");
        break;
    }
    }
    if (!openedFirst)
        trigger(m_form.get(), "itmViewIndicators");
    QVERIFY(window()->isVisible());
    QCOMPARE(shownRecords(), records);
    QCOMPARE(shownLeq(), leq);
    QCOMPARE(window()->findChild<QTableWidget*>("grdDays")->rowCount(), days);
}

void IndicatorsWindowTest::copyPutsTheReportOnTheClipboard() {
    open(m_path);
    trigger(m_form.get(), "itmViewIndicators");
    QApplication::clipboard()->clear();
    window()->findChild<QPushButton*>(QStringLiteral("cmdCopy"))->click();
    const QString text = QApplication::clipboard()->text();
    QCOMPARE(text, reportText(window()->report()));
    for (const char* line : {"site_Sta.csv", "57.4 dB", "L90", "mean of interval values",
                             "2003-12-30", "NOT TAKEN", "no manifest"})
        QVERIFY2(text.contains(QLatin1String(line)), line);
}

void IndicatorsWindowTest::originIsCheckedForEachFileOpened() {
    writeManifest(m_path);
    open(m_path);
    trigger(m_form.get(), "itmViewIndicators");
    QCOMPARE(figure(*window(), "grdOrigin", "File"), QStringLiteral("verified"));
    QCOMPARE(figure(*window(), "grdOrigin", "Buffer"), QStringLiteral("3"));
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::Append));
    file.write("\r\n");
    file.close();
    open(m_path);
    QVERIFY(window()->isVisible());
    QCOMPARE(figure(*window(), "grdOrigin", "File"), QStringLiteral("changed since download"));
}

void IndicatorsWindowTest::nothingWithoutAFile() {
    auto* item = m_form->findChild<QAction*>(QStringLiteral("itmViewIndicators"));
    QVERIFY(!item->isEnabled());
    open(m_path);
    QVERIFY(item->isEnabled());
    item->trigger();
    QVERIFY(window()->isVisible());
    ModalAnswerer answerer(QMessageBox::Yes);
    trigger(m_form.get(), "itmCloseFile");
    QVERIFY(!item->isEnabled());
    QVERIFY(!window()->isVisible());
}

void IndicatorsWindowTest::reachedByKeysAndClosedByEscape() {
    auto* menu = m_form->findChild<QMenu*>(QStringLiteral("mnuView"));
    auto* item = m_form->findChild<QAction*>(QStringLiteral("itmViewIndicators"));
    QCOMPARE(item->text(), QStringLiteral("Noise &Indicators..."));
    QVERIFY(menu->actions().contains(item));
    open(m_path);
    item->trigger();
    QTRY_COMPARE(QGuiApplication::focusWindow(), window()->windowHandle());
    // Each frame's caption key takes the focus to its grid.
    for (const auto& [key, grid] : {std::pair{Qt::Key_L, "grdLevels"},
                                    {Qt::Key_D, "grdDays"},
                                    {Qt::Key_A, "grdCalibration"},
                                    {Qt::Key_R, "grdOrigin"}}) {
        QTest::keyClick(window(), key, Qt::AltModifier);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(grid));
    }
    // Tab goes on from the levels through the days and the checks to the buttons.
    QTest::keyClick(window(), Qt::Key_L, Qt::AltModifier);
    QStringList tabbed;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        tabbed << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(tabbed,
             QStringList({"grdDays", "grdCalibration", "grdOrigin", "cmdCopy", "cmdClose"}));
    QApplication::clipboard()->clear();
    QTest::keyClick(window(), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("File")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!window()->isVisible());
}

QTEST_MAIN(IndicatorsWindowTest)
#include "test_indicators_window.moc"
