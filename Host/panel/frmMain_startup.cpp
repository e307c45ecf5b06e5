// Start-up and shut-down of the control panel, and help.
#include "Confirmation.h"
#include "DateTime.h"
#include "ExchangeGuard.h"
#include "GraphLauncher.h"
#include "HelpWindow.h"
#include "HostSettings.h"
#include "Link.h"
#include "PanelNotices.h"
#include "ProgressForm.h"
#include "RequestQueue.h"
#include "Twips.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmModem.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

// major "." minor in two digits "." revision in three: 1.2.34 gives 1.02.034.
QString VersionString() {
    const QStringList parts = QStringLiteral(HUSHMARK_VERSION).split('.');
    return QString("%1.%2.%3")
        .arg(parts.value(0).toInt())
        .arg(parts.value(1).toInt(), 2, 10, QChar('0'))
        .arg(parts.value(2).toInt(), 3, 10, QChar('0'));
}

} // namespace

void frmMain::startUp(const QStringList& arguments, const WindowLoader& loadActivities) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_version = VersionString();
    setWindowTitle("QN-7X Control Panel " + m_version + " - Orvane Instruments");

    // The stored place, kept on a screen that exists now.
    resize(sizeHint());
    QPoint place(Twips::toPixels(HostSettings::ReadInt(HostSettings::Main, HostSettings::Key::Left,
                                                       0, -1000000, 1000000)),
                 Twips::toPixels(HostSettings::ReadInt(HostSettings::Main, HostSettings::Key::Top,
                                                       0, -1000000, 1000000)));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        place.setX(qBound(area.left(), place.x(), qMax(area.left(), area.right() - width())));
        place.setY(qBound(area.top(), place.y(), qMax(area.top(), area.bottom() - height())));
    }
    move(place);

    BaseYear = 1996;
    ResetQueue();
    InstallPanelNotices();
    loadWindows(loadActivities);

    DegreesLabel->setText(QString(QChar(176)) + "C");
    m_chosenRate = m_updateRate = 4;
    UpdateRateItem.value(4)->setChecked(true);
    update_configure(m_updateRate);
    readCommsSettings();
    m_factory = arguments.join(' ') == "KelpMarker";
    main_blank();
    EnableInterface(true);
    QApplication::restoreOverrideCursor();
}

void frmMain::loadWindows(const WindowLoader& loadActivities) {
    m_progress = new ProgressForm(this);
    m_progress->setWindowTitle("Loading Application...");
    m_progress->show();
    m_progress->move(geometry().center() - m_progress->rect().center());
    const auto step = [this](const QString& text, int percent) {
        m_progress->setStepText(text);
        m_progress->set_value(percent);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    step("Loading confirmation window...", 0);
    ConfirmationDialog();
    if (loadActivities)
        loadActivities(*this, step);
    step("Loading modem initialisation window...", 74);
    m_modemWindow = new frmModem(this);
    const ModemNumbers modem = ReadModemNumbers();
    m_modemWindow->InitialiseForm(modem.initialisation, modem.numbers, modem.count);
    step("Loading about window...", 86);
    m_about = new frmAbout(this);
    m_about->ResetData();
    m_about->showProgramVersion(m_version);
    m_progress->hide();
    m_progress->set_value(0);
}

void frmMain::readCommsSettings() {
    const HostSettings::CommsChoice choice = HostSettings::ReadCommsChoice();
    m_session.port = choice.port;
    m_session.baud = choice.baud;
    m_session.method = choice.method;
    main_set_comms_label();
}

void frmMain::storePlacement() {
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    HostSettings::Write(HostSettings::Main, HostSettings::Key::Left, Twips::fromPixels(x(), this));
    HostSettings::Write(HostSettings::Main, HostSettings::Key::Top, Twips::fromPixels(y(), this));
}

void frmMain::closeEvent(QCloseEvent* event) {
    // A close that lands during a link attempt or a request run waits for it
    // to end, so that no exchange is cut off half way.
    if (m_session.linking || QueueRunInProgress() || ExchangeInProgress()) {
        event->ignore();
        if (m_session.linking)
            abortLinkAttempt(); // no retries waited out unseen
        // A download stops at its next block with its files whole.
        hide_child_forms();
        if (!m_closing) {
            m_closing = true;
            QTimer::singleShot(200, this, [this] {
                m_closing = false;
                close();
            });
        }
        return;
    }
    SPLTimer.stop();
    if (m_session.linked) {
        m_session.linked = false;
        CloseLink();
    }
    storePlacement();
    m_graph->release();
    event->accept();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window != this)
            window->hide();
}

void frmMain::showHelp() {
    ShowHelp(this);
}
