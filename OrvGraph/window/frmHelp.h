#pragma once

#include <QUrl>
#include <QWidget>

class QLineEdit;
class QTextBrowser;

// The viewer's help: the library's own HTML pages in a browser window, opened
// at a context number as the viewer's Help menu asks (10 contents, 20 index).
class frmHelp : public QWidget {
    Q_OBJECT
public:
    static constexpr int kContentsContext = 10;
    static constexpr int kSearchContext = 20;

    explicit frmHelp(QWidget* parent = nullptr);

    // Shows the window at the page and anchor of a context number; an unknown
    // number opens the contents.
    void showContext(int context);
    static QUrl urlForContext(int context);
    QUrl currentUrl() const;

private:
    // Finds the text of the find box in the page, from the cursor on, wrapping once.
    void findNext();

    QTextBrowser* txtHelp;
    QLineEdit* txtFind;
};
