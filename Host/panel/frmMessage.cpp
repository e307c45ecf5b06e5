#include "frmMessage.h"

#include "Confirmation.h"
#include "ExchangeGuard.h"
#include "ShownText.h"
#include "StatusPollTimer.h"
#include "Twips.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace {

// Measures in twips.
constexpr int Margin = 240;
constexpr int ButtonWidth = 1215;
constexpr int ButtonHeight = 375;
constexpr int ButtonBottomGap = 120; // button bottom to the window's inner bottom edge
constexpr int ButtonCentreGap = 60;  // each button's distance from the centre line

constexpr qint16 StyleOk = 0;
constexpr qint16 StyleOkCancel = 1;
constexpr qint16 StyleYesNo = 4;

struct MessageContext {
    QPointer<QWidget> mainWindow;
    QPointer<QTimer> statusTimer;
    std::function<void()> statusPoll;
};

MessageContext& Context() {
    static MessageContext context;
    return context;
}

QPointer<frmMessage>& ExistingMessageWindow() {
    static QPointer<frmMessage> window;
    return window;
}

frmMessage& MessageWindow() {
    // Owned by the main window once there is one; made again should that go.
    QPointer<frmMessage>& window = ExistingMessageWindow();
    if (!window) {
        const MessageContext& context = Context();
        window = new frmMessage(context.mainWindow);
        window->setContext(context.mainWindow, context.statusTimer, context.statusPoll);
    }
    return *window;
}

QRect AvailableArea(const QPoint& point) {
    QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
}

} // namespace

frmMessage::frmMessage(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      lblMessage(new QLabel(this)), cmdConfirm(new QPushButton(this)),
      cmdCancel(new QPushButton(this)) {
    setObjectName("frmMessage");
    lblMessage->setObjectName("lblMessage");
    lblMessage->setTextFormat(Qt::PlainText);
    cmdConfirm->setObjectName("cmdConfirm");
    cmdCancel->setObjectName("cmdCancel");
    connect(cmdConfirm, &QPushButton::clicked, this, [this] {
        m_cancelled = false;
        hide();
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        hide();
    });
    setContext(nullptr, nullptr, nullptr);
    setButtons(StyleOk);
}

void frmMessage::setContext(QWidget* mainWindow, const QTimer* statusTimer,
                            std::function<void()> statusPoll) {
    m_mainWindow = mainWindow;
    m_statusPoll = std::move(statusPoll);
    delete m_pollTimer;
    m_pollTimer = new StatusPollTimer(
        this, statusTimer, [this] { pollStatus(); }, this);
    m_pollTimer->timer().setObjectName("tmrMessage");
}

QTimer& frmMessage::tmrMessage() {
    return m_pollTimer->timer();
}

void frmMessage::pollStatus() {
    // Never inside another exchange: the poll would interleave its bytes with
    // theirs. A request run that is only waiting for this answer is no bar.
    if (ExchangeInProgress() || !m_statusPoll)
        return;
    m_statusPoll();
}

void frmMessage::reject() {
    cmdCancel->click();
}

bool frmMessage::setButtons(qint16 style) {
    switch (style) {
    case StyleOk:
        cmdConfirm->hide();
        cmdCancel->setText("&OK");
        break;
    case StyleOkCancel:
        cmdConfirm->setText("&OK");
        cmdCancel->setText("&Cancel");
        cmdConfirm->show();
        break;
    case StyleYesNo:
        cmdConfirm->setText("&Yes");
        cmdCancel->setText("&No");
        cmdConfirm->show();
        break;
    default:
        return false;
    }
    cmdCancel->show();
    return true;
}

void frmMessage::placeControls() {
    const int margin = Twips::toPixels(Margin, this);
    const int buttonHeight = Twips::toPixels(ButtonHeight, this);
    int buttonWidth = Twips::toPixels(ButtonWidth, this);
    buttonWidth = qMax(buttonWidth, cmdConfirm->sizeHint().width());
    buttonWidth = qMax(buttonWidth, cmdCancel->sizeHint().width());
    const int centreGap = Twips::toPixels(ButtonCentreGap, this);
    const bool pair = !cmdConfirm->isHidden();
    const int buttonsWidth = pair ? 2 * (buttonWidth + centreGap) : buttonWidth;

    // A line longer than the screen is wrapped rather than pushed off it.
    const int widest = AvailableArea(pos()).width() - 2 * margin - 2 * margin;
    lblMessage->setWordWrap(false);
    QSize label = lblMessage->sizeHint();
    if (label.width() > widest) {
        lblMessage->setWordWrap(true);
        label = QSize(widest, lblMessage->heightForWidth(widest));
    }

    const int width = qMax(label.width(), buttonsWidth) + 2 * margin;
    lblMessage->setGeometry((width - label.width()) / 2, margin, label.width(), label.height());
    const int buttonTop = margin + label.height() + margin;
    const int centre = width / 2;
    if (pair) {
        cmdConfirm->setGeometry(centre - centreGap - buttonWidth, buttonTop, buttonWidth,
                                buttonHeight);
        cmdCancel->setGeometry(centre + centreGap, buttonTop, buttonWidth, buttonHeight);
    } else {
        cmdCancel->setGeometry(centre - buttonWidth / 2, buttonTop, buttonWidth, buttonHeight);
    }
    setFixedSize(width, buttonTop + buttonHeight + Twips::toPixels(ButtonBottomGap, this));
}

void frmMessage::centreOverMainWindow() {
    const QPoint centre = m_mainWindow ? m_mainWindow->frameGeometry().center()
                                       : AvailableArea(QCursor::pos()).center();
    const QRect area = AvailableArea(centre);
    // The frame (title bar and border) is known once the window is on the screen.
    QRect frame(QPoint(), frameGeometry().size());
    frame.moveCenter(centre);
    frame.moveLeft(qBound(area.left(), frame.left(), area.right() + 1 - frame.width()));
    frame.moveTop(qBound(area.top(), frame.top(), area.bottom() + 1 - frame.height()));
    move(frame.topLeft());
}

void frmMessage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        centreOverMainWindow();
}

qint16 frmMessage::result() const {
    switch (m_style) {
    case StyleOk:
        return 1;
    case StyleOkCancel:
        return m_cancelled ? 2 : 1;
    case StyleYesNo:
        return m_cancelled ? 7 : 6;
    default:
        return 0;
    }
}

qint16 frmMessage::showMessage(const QString& message, qint16 style, const QString& title) {
    if (isVisible()) {
        // Asked again while up (a failing status poll run from tmrMessage, say):
        // a window nested in itself would deepen on every tick.
        if (!m_refusalLogged)
            qWarning().noquote() << "Message not shown while another is up:" << title << "-"
                                 << ShownText(message);
        m_refusalLogged = true;
        return 0;
    }
    m_refusalLogged = false;
    lblMessage->setText(ShownText(message));
    setWindowTitle(title);
    m_style = style;
    setButtons(style);
    placeControls();
    (cmdConfirm->isHidden() ? cmdCancel : cmdConfirm)->setFocus();
    m_cancelled = false;
    exec();
    // Taken before events run: a poll's notice in that pass may reuse the window.
    const qint16 code = result();
    QCoreApplication::processEvents();
    return code;
}

void SetMessageWindowContext(QWidget* mainWindow, QTimer* statusTimer,
                             std::function<void()> statusPoll) {
    MessageContext& context = Context();
    context.mainWindow = mainWindow;
    context.statusTimer = statusTimer;
    context.statusPoll = std::move(statusPoll);
    // Not made here: the first ShowMessage makes it with this context.
    frmMessage* window = ExistingMessageWindow();
    if (!window)
        return;
    if (mainWindow && window->parentWidget() != mainWindow && !window->isVisible())
        window->setParent(mainWindow, window->windowFlags());
    window->setContext(mainWindow, statusTimer, context.statusPoll);
}

qint16 ShowMessage(const QString& message, qint16 style, const QString& title) {
    return MessageWindow().showMessage(message, style, title);
}

bool do_cancel(const QString& message, const QString& title) {
    if (!ConfirmationDialog().confirmCancel())
        return true;
    return ShowMessage(message, StyleYesNo, title) == 6;
}

bool do_unlink(const QString& message, const QString& title) {
    if (!ConfirmationDialog().confirmUnlink())
        return true;
    return ShowMessage(message, StyleYesNo, title) == 6;
}
