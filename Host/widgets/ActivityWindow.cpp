#include "ActivityWindow.h"

#include "ControlPanel.h"

#include <QAbstractButton>
#include <QCloseEvent>

ActivityWindow::ActivityWindow(ControlPanel* panel, Qt::WindowFlags flags)
    : QDialog(panel->panelWindow(), flags), m_panel(panel) {}

ActivityWindow::~ActivityWindow() {
    for (qint16 code : std::as_const(m_requests))
        RegisterRequest(code, nullptr);
}

void ActivityWindow::registerRequest(qint16 code, RequestAction action) {
    RegisterRequest(code, std::move(action));
    m_requests << code;
}

void ActivityWindow::hideOnUnlink() {
    m_panel->registerChildWindow(this);
}

StatusPollTimer* ActivityWindow::pollStatusWhileShown(std::function<void()> onTick) {
    return new StatusPollTimer(this, m_panel->statusTimer(), std::move(onTick), this);
}

void ActivityWindow::cancelWith(QAbstractButton* button) {
    m_cancel = button;
}

void ActivityWindow::reject() {
    if (!m_cancel)
        QDialog::reject();
    else if (m_cancel->isEnabled())
        m_cancel->click();
}

void ActivityWindow::closeEvent(QCloseEvent* event) {
    if (!m_cancel) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    reject();
}

void ActivityWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_disablesPanel)
        m_panel->EnableInterface(false);
}

void ActivityWindow::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (m_disablesPanel)
        m_panel->EnableInterface(true);
}
