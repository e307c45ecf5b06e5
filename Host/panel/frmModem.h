#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The modem dialogue as ConnectToModem writes it: the raw text stays
// readable through "Text", the terminal box shows it line by line.
class TerminalFeedback : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setText)
public:
    TerminalFeedback(QPlainTextEdit* terminal, QObject* parent);
    QString text() const { return m_text; }
    void setText(const QString& text);

private:
    QPlainTextEdit* m_terminal;
    QString m_text;
};

// Picks the number, dials it and reports whether a connection was made. Shown
// modally by the link when the method is the modem.
class frmModem : public QDialog {
    Q_OBJECT
public:
    static constexpr qint16 Connected = 1;
    static constexpr qint16 Cancelled = 2;

    explicit frmModem(QWidget* parent = nullptr);

    // Fills the number list with numbers 1 … count (empty slots left out).
    void InitialiseForm(const QString& initialisation, const QStringList& numbers, int count);
    qint16 outcome() const { return m_outcome; }
    bool dialling() const { return m_dialling; }
    // The texts as they go to the modem: control characters would end the AT
    // command early and start another, so they are left out.
    QString dialledNumber() const;
    QString initialisation() const;

private:
    // Controls; tests and outside checks find them by objectName.
    QLabel* const lblExplanation;
    QLabel* const lblNumber;
    QComboBox* const cboNumber;
    QLabel* const lblInitialisation;
    QLineEdit* const txtInitialisation;
    QPlainTextEdit* const txtTerminal;
    QPushButton* const cmdDial;
    QPushButton* const cmdCancel;

public slots:
    // Escape and the close box both count as Cancel.
    void reject() override;

private:
    void dial();
    void setEntryEnabled(bool enabled);

    TerminalFeedback m_feedback;
    qint16 m_outcome = Cancelled;
    bool m_dialling = false;
    bool m_cancelConfirmed = false; // during the current dial
};

struct ModemNumbers {
    QStringList numbers; // slots 1 to 4, "-1" for an empty slot
    int count = 0;       // the highest slot in use
    QString initialisation;
};
ModemNumbers ReadModemNumbers();
// After a modem link attempt: keeps the initialisation string and moves the
// dialled number to the top of the four-number list.
void StoreModemNumbers(const QString& initialisation, const QString& dialledNumber);
