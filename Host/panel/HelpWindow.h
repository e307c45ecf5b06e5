#pragma once

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// The operator's help: the HTML pages installed beside the program, read in a
// browser window of our own.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& folder, QWidget* owner = nullptr);

    // `topic`: empty for the contents, an anchor of the contents page
    // ("modem"), or a page with an optional anchor ("linking.html#modem").
    void showTopic(const QString& topic);
    QString folder() const { return m_folder; }

    QPushButton* const cmdContents;
    QPushButton* const cmdBack;
    QPushButton* const cmdForward;
    QTextBrowser* const txtHelp;

private:
    QString m_folder;
};

// Opens help over `owner` at `topic` (see HelpWindow::showTopic). When the
// pages cannot be found, says so in a plain message box; false then.
bool ShowHelp(QWidget* owner, const QString& topic = {});
// The same with the pages looked for in `folder`.
bool ShowHelpFrom(const QString& folder, QWidget* owner, const QString& topic = {});
