#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// A window's control found by its objectName, as the outside accessibility
// checks find it; a missing control stops the test with its name rather than
// a crash on a null pointer.
template <typename T> T* Control(const QObject* window, const QString& name) {
    T* control = window->findChild<T*>(name);
    if (!control)
        qFatal("No control %s of type %s in %s", qPrintable(name), T::staticMetaObject.className(),
               window->metaObject()->className());
    return control;
}
