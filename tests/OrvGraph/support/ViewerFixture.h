#pragma once

#include "DataFileWriter.h"

#include <QAction>
#include <QObject>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// What the viewer tests share: sample data files in a temporary folder, a clean
// "Orv" settings file, and a log of the events the graph object raises.
namespace ViewerFixture {

inline void clearSettings() {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Orv"),
                       QStringLiteral("Orv"));
    settings.clear();
    settings.sync();
}

// The sample files of one folder, written under the system locale as the host
// writes them.
struct SampleFiles {
    QTemporaryDir folder;
    QString statistical;
    QString leq;
    QString badType;
    QString headingsOnly;
    QString broken;

    SampleFiles() {
        using namespace DataFileWriter;
        const QLocale locale = QLocale::system();
        const QDateTime start(QDate(2003, 12, 30), QTime(22, 0), Qt::UTC);
        statistical = folder.filePath(QStringLiteral("survey_Sta.csv"));
        leq = folder.filePath(QStringLiteral("survey_Leq0.csv"));
        badType = folder.filePath(QStringLiteral("notes.csv"));
        headingsOnly = folder.filePath(QStringLiteral("empty_Sta.csv"));
        broken = folder.filePath(QStringLiteral("broken_Sta.csv"));
        const auto header = typicalHeader(locale, start, start.addDays(2), true);
        writeFile(statistical, statisticalFile(locale, header, statisticalColumns(),
                                               statisticalRows(start, 192, 15)));
        writeFile(leq, leqFile(locale, header, leqRows(start, 3600)));
        writeFile(badType, "Date,Time,Leq\r\n31/12/2003,14:05,45.3\r\n");
        writeFile(headingsOnly, headerBlock(header) + "\r\n" + headingLine(statisticalColumns()));
        writeFile(broken, headerBlock(header) + "\r\n" + headingLine(leqColumns()) + "45.3,0\r\n");
    }
};

// Events as the host sees them, in order.
class EventLog : public QObject {
public:
    template <typename Graph> void attach(Graph* graph) {
        connect(graph, &Graph::GraphBusy, this, [this] { events << QStringLiteral("Busy"); });
        connect(graph, &Graph::GraphFree, this, [this] { events << QStringLiteral("Free"); });
        connect(graph, &Graph::GraphEnd, this, [this] { events << QStringLiteral("End"); });
    }
    QStringList take() {
        const QStringList taken = events;
        events.clear();
        return taken;
    }
    QStringList events;
};

inline void trigger(QWidget* window, const char* itemName) {
    auto* item = window->findChild<QAction*>(QString::fromLatin1(itemName));
    QVERIFY2(item, itemName);
    item->trigger();
}

} // namespace ViewerFixture
