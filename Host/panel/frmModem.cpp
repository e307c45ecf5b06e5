#include "frmModem.h"

#include "Link.h"
#include "NamedWidget.h"

#include "HostSettings.h"
#include "ShownText.h"
#include "frmMessage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int NumberSlots = 4;
const QString EmptySlot = "-1";

QString WithoutControlCharacters(const QString& text) {
    QString clean;
    for (const QChar c : text) {
        if (!c.isNull() && c.category() != QChar::Other_Control)
            clean += c;
    }
    return clean;
}

} // namespace

TerminalFeedback::TerminalFeedback(QPlainTextEdit* terminal, QObject* parent)
    : QObject(parent), m_terminal(terminal) {}

void TerminalFeedback::setText(const QString& text) {
    m_text = text;
    m_terminal->setPlainText(ShownText(text));
    m_terminal->verticalScrollBar()->setValue(m_terminal->verticalScrollBar()->maximum());
}

frmModem::frmModem(QWidget* parent)
    : QDialog(parent),
      lblExplanation(
          Named(new QLabel("Please enter the phone number of the modem to dial, as well as the "
                           "initialisation string for the modem.  To attempt to link, click on "
                           "\"Dial\" . Otherwise, click on \"Cancel\".",
                           this),
                "lblExplanation")),
      lblNumber(Named(new QLabel("Number to dial :", this), "lblNumber")),
      cboNumber(Named(new QComboBox(this), "cboNumber")),
      lblInitialisation(Named(new QLabel("Initialisation String :", this), "lblInitialisation")),
      txtInitialisation(Named(new QLineEdit("ATE0", this), "txtInitialisation")),
      txtTerminal(Named(new QPlainTextEdit(this), "txtTerminal")),
      cmdDial(Named(new QPushButton("Dial", this), "cmdDial")),
      cmdCancel(Named(new QPushButton("Cancel", this), "cmdCancel")),
      m_feedback(txtTerminal, this) {
    setObjectName("frmModem");
    setWindowTitle("Modem Setup and Connection...");
    lblExplanation->setWordWrap(true);
    cboNumber->setEditable(true);
    cboNumber->setInsertPolicy(QComboBox::NoInsert);
    txtTerminal->setReadOnly(true);
    lblNumber->setBuddy(cboNumber);
    lblInitialisation->setBuddy(txtInitialisation);
    cmdDial->setDefault(true);

    auto* entries = new QGridLayout;
    entries->addWidget(lblNumber, 0, 0);
    entries->addWidget(cboNumber, 0, 1);
    entries->addWidget(lblInitialisation, 1, 0);
    entries->addWidget(txtInitialisation, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdDial);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblExplanation);
    layout->addLayout(entries);
    layout->addWidget(txtTerminal);
    layout->addLayout(buttons);

    connect(cmdDial, &QPushButton::clicked, this, &frmModem::dial);
    connect(cmdCancel, &QPushButton::clicked, this, &frmModem::reject);
}

void frmModem::InitialiseForm(const QString& initialisation, const QStringList& numbers,
                              int count) {
    m_dialling = false;
    txtInitialisation->setText(initialisation);
    cboNumber->clear();
    const int last = qMin(count, int(numbers.size()));
    for (int slot = 0; slot < last; ++slot) {
        // An empty slot between used ones is not a number to dial.
        if (numbers[slot] != EmptySlot && !numbers[slot].trimmed().isEmpty())
            cboNumber->addItem(numbers[slot]);
    }
    cboNumber->setEditText(cboNumber->count() > 0 ? cboNumber->itemText(0) : QString());
}

QString frmModem::dialledNumber() const {
    return WithoutControlCharacters(cboNumber->currentText());
}

QString frmModem::initialisation() const {
    return WithoutControlCharacters(txtInitialisation->text());
}

void frmModem::setEntryEnabled(bool enabled) {
    cmdDial->setEnabled(enabled);
    txtInitialisation->setEnabled(enabled);
    cboNumber->setEnabled(enabled);
}

void frmModem::dial() {
    m_outcome = Connected;
    setEntryEnabled(false);
    m_dialling = true;
    m_cancelConfirmed = false;
    qint16 result = DialModem(initialisation().toLatin1(), dialledNumber().toLatin1(), &m_feedback);
    if (result == 0 && m_cancelConfirmed) {
        // The interrupt ended a wait before the dial (the modem's answer to
        // "ATE0", say), so the dial went on and connected: the operator has
        // cancelled, so the call ends here.
        HangUpModem();
        result = 2;
    }
    switch (result) {
    case 0: // connected
        m_outcome = Connected;
        hide();
        break;
    case 1: // the link is not set for a modem
        m_outcome = Cancelled;
        hide();
        break;
    case 2: // no answer
    case 3: // "NO CARRIER" or "BUSY": the operator reads why, and dials again or cancels
        break;
    default:
        QMessageBox::warning(this, "Orvane Instruments", "Unhandled case dialling modem.");
        break;
    }
    setEntryEnabled(true);
    m_dialling = false;
}

void frmModem::reject() {
    if (!do_cancel("Are you sure you want to cancel linking via modem?",
                   "Cancel linking operation..."))
        return;
    if (m_dialling) {
        // The dial's wait returns empty, ConnectToModem hangs up and gives 2.
        m_cancelConfirmed = true;
        InterruptReceive();
        return;
    }
    m_outcome = Cancelled;
    hide();
}

ModemNumbers ReadModemNumbers() {
    using namespace HostSettings;
    ModemNumbers stored;
    for (int slot = 1; slot <= NumberSlots; ++slot) {
        stored.numbers << Read(Modem, HostSettings::Key::Number(slot), EmptySlot);
        if (stored.numbers.last() != EmptySlot)
            stored.count = slot;
    }
    stored.initialisation = Read(Modem, HostSettings::Key::Initialisation, QString());
    return stored;
}

void StoreModemNumbers(const QString& initialisation, const QString& dialledNumber) {
    using namespace HostSettings;
    Write(Modem, HostSettings::Key::Initialisation, initialisation);
    int found = NumberSlots + 1;
    for (int slot = 1; slot <= NumberSlots; ++slot) {
        if (Read(Modem, HostSettings::Key::Number(slot), EmptySlot) == dialledNumber) {
            found = slot;
            break;
        }
    }
    // Not in the list: slot 4 moves to a fifth key that is never read, so it
    // drops out.
    for (int slot = found; slot >= 2; --slot)
        Write(Modem, HostSettings::Key::Number(slot),
              Read(Modem, HostSettings::Key::Number(slot - 1), EmptySlot));
    Write(Modem, HostSettings::Key::Number(1), dialledNumber);
}
