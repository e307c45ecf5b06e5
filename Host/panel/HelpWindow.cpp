#include "HelpWindow.h"

#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString ContentsPage = "index.html";
// The page of help context 100, the control panel, opened when the contents are missing.
const QString FallbackPage = "panel.html";

QPushButton* NewButton(const QString& name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QUrl TopicUrl(const QString& folder, const QString& topic) {
    const QString page = topic.section('#', 0, 0);
    const QString anchor = topic.contains('#') ? topic.section('#', 1) : topic;
    QUrl url = QUrl::fromLocalFile(
        QDir(folder).filePath(page.endsWith(".html", Qt::CaseInsensitive) ? page : ContentsPage));
    if (!anchor.isEmpty() && !anchor.endsWith(".html", Qt::CaseInsensitive))
        url.setFragment(anchor);
    return url;
}

} // namespace

HelpWindow::HelpWindow(const QString& folder, QWidget* owner)
    : QWidget(owner, Qt::Window), cmdContents(NewButton("cmdContents", "&Contents", this)),
      cmdBack(NewButton("cmdBack", "&Back", this)),
      cmdForward(NewButton("cmdForward", "&Forward", this)), txtHelp(new QTextBrowser(this)),
      m_folder(folder) {
    setObjectName("HelpWindow");
    setWindowTitle("QN-7X Control Panel Help");
    txtHelp->setObjectName("txtHelp");
    txtHelp->setSearchPaths({folder});
    // The pages are all local: a link out of them is not followed in here.
    txtHelp->setOpenLinks(true);
    txtHelp->setOpenExternalLinks(false);
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdContents);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdForward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(txtHelp);
    resize(720, 560);

    connect(cmdContents, &QPushButton::clicked, this, [this] { showTopic({}); });
    connect(cmdBack, &QPushButton::clicked, txtHelp, &QTextBrowser::backward);
    connect(cmdForward, &QPushButton::clicked, txtHelp, &QTextBrowser::forward);
    connect(txtHelp, &QTextBrowser::backwardAvailable, cmdBack, &QPushButton::setEnabled);
    connect(txtHelp, &QTextBrowser::forwardAvailable, cmdForward, &QPushButton::setEnabled);
    connect(txtHelp, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = txtHelp->documentTitle();
        setWindowTitle(title.isEmpty() ? "QN-7X Control Panel Help" : title);
    });
}

void HelpWindow::showTopic(const QString& topic) {
    const QUrl url = TopicUrl(m_folder, topic);
    if (txtHelp->source() == url.adjusted(QUrl::RemoveFragment) && url.hasFragment())
        txtHelp->scrollToAnchor(url.fragment());
    else
        txtHelp->setSource(url);
}

bool ShowHelp(QWidget* owner, const QString& topic) {
    return ShowHelpFrom(HelpPagesFolder(), owner, topic);
}

bool ShowHelpFrom(const QString& folder, QWidget* owner, const QString& topic) {
    static QPointer<HelpWindow> window;
    QString shown = topic;
    if (!QFileInfo(QDir(folder).filePath(ContentsPage)).isFile()) {
        QMessageBox::information(owner, "Orvane Instruments",
                                 QString("The help viewer could not be opened.") +
                                     " The older help file will be shown instead; some "
                                     "features may not be fully explained.");
        // Without its contents the help still has the page of its main topic.
        shown = FallbackPage;
        if (!QFileInfo(QDir(folder).filePath(shown)).isFile()) {
            QMessageBox::warning(owner, "Orvane Instruments",
                                 "No help pages were found in " + QDir::toNativeSeparators(folder) +
                                     ".");
            return false;
        }
    }
    if (!window || window->folder() != folder || window->parentWidget() != owner) {
        delete window;
        window = new HelpWindow(folder, owner);
    }
    window->showTopic(shown);
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}
