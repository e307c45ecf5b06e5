#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Works a modal dialog as an operator would: once the next modal window of the
// given class is up, runs the steps on it (fill boxes, press OK or Cancel).
// Message boxes it raises are left to a ModalAnswerer. A dialog the steps leave
// open is cancelled.
template <typename Dialog> void whenModal(std::function<void(Dialog*)> steps) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, steps] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            steps(dialog);
            // Steps that stopped short (a failed check) must not leave it up.
            if (dialog->isVisible())
                dialog->reject();
        }
    });
    timer->start();
}
