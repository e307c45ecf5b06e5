// Every control of every window is found by its name, as tests and
// accessibility tools find it: an array's elements carry the array's name
// followed by their index (optZoom0, lblDateSeparator1), one scheme in every
// window, and no two elements of one window share a name.
#include "ActivityWindows.h"
#include "PanelFixture.h"

#include <QAction>
#include <QFileDialog>
#include <QRegularExpression>

namespace {

QWidget* WindowOf(QObject* object) {
    for (; object; object = object->parent())
        if (auto* widget = qobject_cast<QWidget*>(object))
            return widget->window();
    return nullptr;
}

} // namespace

class TestControlNames : public QObject {
    Q_OBJECT

private slots:
    void oneSchemeInEveryWindow() {
        PanelFixture fixture;
        QVERIFY(fixture.start());
        CreateActivityWindows(*fixture.panel);
        const QRegularExpression otherScheme(QStringLiteral("_[0-9]+$"));
        const QRegularExpression element(QStringLiteral("[0-9]$"));
        int elements = 0;
        for (QWidget* window : QApplication::allWidgets()) {
            // Qt's own dialogs name their insides themselves.
            if (!window->isWindow() || qobject_cast<QFileDialog*>(window))
                continue;
            QStringList seen;
            for (QObject* child : window->findChildren<QObject*>()) {
                const QString name = child->objectName();
                // Qt's own parts of a control are not the program's to name,
                // and a window inside this one names its own controls.
                if (name.isEmpty() || name.startsWith(QStringLiteral("qt_")) ||
                    WindowOf(child) != window)
                    continue;
                QVERIFY2(!otherScheme.match(name).hasMatch(), qPrintable(name));
                if (!element.match(name).hasMatch())
                    continue;
                QVERIFY2(!seen.contains(name), qPrintable(window->objectName() + ": " + name));
                seen << name;
                ++elements;
            }
        }
        QVERIFY(elements > 20);
    }
};

QTEST_MAIN(TestControlNames)
#include "test_control_names.moc"
