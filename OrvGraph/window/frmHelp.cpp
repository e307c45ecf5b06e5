#include "frmHelp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

frmHelp::frmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Orv Data Viewer Help"));
    txtHelp = new QTextBrowser(this);
    txtHelp->setObjectName(QStringLiteral("txtHelp"));
    txtHelp->setOpenExternalLinks(false);
    txtFind = new QLineEdit(this);
    txtFind->setObjectName(QStringLiteral("txtFind"));
    auto* cmdFind = new QPushButton(QStringLiteral("&Find"), this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    auto* cmdContents = new QPushButton(QStringLiteral("&Contents"), this);
    cmdContents->setObjectName(QStringLiteral("cmdContents"));
    auto* cmdIndex = new QPushButton(QStringLiteral("&Index"), this);
    cmdIndex->setObjectName(QStringLiteral("cmdIndex"));

    connect(cmdFind, &QPushButton::clicked, this, &frmHelp::findNext);
    connect(txtFind, &QLineEdit::returnPressed, this, &frmHelp::findNext);
    connect(cmdContents, &QPushButton::clicked, this,
            [this] { txtHelp->setSource(urlForContext(kContentsContext)); });
    connect(cmdIndex, &QPushButton::clicked, this,
            [this] { txtHelp->setSource(urlForContext(kSearchContext)); });

    auto* bar = new QHBoxLayout;
    bar->addWidget(cmdContents);
    bar->addWidget(cmdIndex);
    bar->addStretch();
    bar->addWidget(new QLabel(QStringLiteral("Find:"), this));
    bar->addWidget(txtFind);
    bar->addWidget(cmdFind);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(txtHelp);
    resize(640, 520);
}

QUrl frmHelp::urlForContext(int context) {
    if (context == kSearchContext)
        return QUrl(QStringLiteral("qrc:/OrvGraph/help/index.html#index"));
    return QUrl(QStringLiteral("qrc:/OrvGraph/help/contents.html#contents"));
}

void frmHelp::showContext(int context) {
    txtHelp->setSource(urlForContext(context));
    show();
    raise();
    activateWindow();
}

QUrl frmHelp::currentUrl() const {
    return txtHelp->source();
}

void frmHelp::findNext() {
    const QString text = txtFind->text();
    if (text.isEmpty())
        return;
    if (!txtHelp->find(text)) {
        txtHelp->moveCursor(QTextCursor::Start);
        txtHelp->find(text);
    }
}
