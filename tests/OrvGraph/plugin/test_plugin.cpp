// OrvGraph.so as the host uses it: loaded with QPluginLoader from the program's
// own folder, the root object taken as OrvGraphFactory, the graph object's
// events connected by name, Display called through OrvGraphInterface, and the
// object released with deleteLater after GraphEnd.

#include "OrvGraphInterface.h"

#include <QApplication>
#include <QPluginLoader>
#include <QPointer>
#include <QTest>
#include <QWidget>

class HostSide : public QObject {
    Q_OBJECT
public:
    QStringList events;
public slots:
    void busy() { events << "Busy"; }
    void free() { events << "Free"; }
    void end() { events << "End"; }
};

class PluginTest : public QObject {
    Q_OBJECT
private slots:
    void loadsAndOpensTheViewer();
};

void PluginTest::loadsAndOpensTheViewer() {
    QPluginLoader loader(QCoreApplication::applicationDirPath() + "/OrvGraph.so");
    QVERIFY2(loader.load(), qPrintable(loader.errorString()));
    QCOMPARE(loader.metaData().value("IID").toString(), QStringLiteral(OrvGraphFactory_iid));
    auto* factory = qobject_cast<OrvGraphFactory*>(loader.instance());
    QVERIFY(factory);

    const QWidgetList before = QApplication::topLevelWidgets();
    QPointer<QObject> graph = factory->createOrvGraph();
    QVERIFY(graph);
    QWidget* viewer = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (!before.contains(widget) && widget->objectName() == "frmGraph")
            viewer = widget;
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Orv - Data Viewing Utility"));

    HostSide host;
    QVERIFY(QObject::connect(graph, SIGNAL(GraphBusy()), &host, SLOT(busy())));
    QVERIFY(QObject::connect(graph, SIGNAL(GraphFree()), &host, SLOT(free())));
    QVERIFY(QObject::connect(graph, SIGNAL(GraphEnd()), &host, SLOT(end())));
    QObject::connect(graph, SIGNAL(GraphEnd()), graph, SLOT(deleteLater()));

    auto* viewerInterface = qobject_cast<OrvGraphInterface*>(graph);
    QVERIFY(viewerInterface);
    viewer->hide();
    viewerInterface->Display();
    QVERIFY(viewer->isVisible());

    QPointer<QWidget> window = viewer;
    viewer->close();
    QCOMPARE(host.events, QStringList({"Busy", "Free", "End"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!graph);
    QVERIFY(!window);
}

QTEST_MAIN(PluginTest)
#include "test_plugin.moc"
