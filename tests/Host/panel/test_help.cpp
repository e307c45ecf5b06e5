// The help pages (every link lands on a page and an anchor that exist, every
// page is reachable from the contents), their copy beside the program, the
// help window and its topics, and the message when the pages are missing.
#include "HelpWindow.h"
#include "ProgramFiles.h"
#include "ModalAnswerer.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

namespace {

QString SourcePages() {
    return qEnvironmentVariable("HUSHMARK_SOURCE_DIR") + "/Host/help";
}

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QSet<QString> Anchors(const QString& html) {
    QSet<QString> names;
    static const QRegularExpression anchor(R"re((?:name|id)="([^"]+)")re");
    for (const QRegularExpressionMatch& match : anchor.globalMatch(html))
        names.insert(match.captured(1));
    return names;
}

QStringList Links(const QString& html) {
    QStringList links;
    static const QRegularExpression href(R"re(href="([^"]+)")re");
    for (const QRegularExpressionMatch& match : href.globalMatch(html))
        links << match.captured(1);
    return links;
}

QStringList Pages(const QString& folder) {
    return QDir(folder).entryList({"*.html"}, QDir::Files, QDir::Name);
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void pagesExist() {
        const QStringList pages = Pages(SourcePages());
        QVERIFY2(pages.contains("index.html"), qPrintable(SourcePages()));
        for (const QString& page : pages) {
            const QString html = Read(SourcePages() + '/' + page);
            QVERIFY2(html.contains(QRegularExpression("<title>[^<]+</title>")), qPrintable(page));
        }
    }

    // Every link between the pages lands on a page and an anchor that exist,
    // and nothing points out of the help.
    void linksResolve() {
        const QString folder = SourcePages();
        for (const QString& page : Pages(folder)) {
            for (const QString& link : Links(Read(folder + '/' + page))) {
                QVERIFY2(!link.contains("://"), qPrintable(page + ": " + link));
                const QString target =
                    link.section('#', 0, 0).isEmpty() ? page : link.section('#', 0, 0);
                QVERIFY2(QFile::exists(folder + '/' + target), qPrintable(page + ": " + link));
                const QString anchor = link.section('#', 1);
                if (!anchor.isEmpty())
                    QVERIFY2(Anchors(Read(folder + '/' + target)).contains(anchor),
                             qPrintable(page + ": " + link));
            }
        }
    }

    void everyPageReachableFromTheContents() {
        const QString folder = SourcePages();
        QSet<QString> reached{"index.html"};
        QStringList toVisit{"index.html"};
        while (!toVisit.isEmpty()) {
            const QString page = toVisit.takeFirst();
            for (const QString& link : Links(Read(folder + '/' + page))) {
                const QString target = link.section('#', 0, 0);
                if (!target.isEmpty() && !reached.contains(target)) {
                    reached.insert(target);
                    toVisit << target;
                }
            }
        }
        for (const QString& page : Pages(folder))
            QVERIFY2(reached.contains(page), qPrintable(page));
    }

    // The build copies the pages beside the program, where help looks.
    void pagesCopiedBesideTheProgram() {
        QCOMPARE(HelpPagesFolder(), QCoreApplication::applicationDirPath() + "/help");
        for (const QString& page : Pages(SourcePages()))
            QCOMPARE(Read(HelpPagesFolder() + '/' + page), Read(SourcePages() + '/' + page));
    }

    void opensTheContents() {
        QWidget owner;
        QVERIFY(ShowHelp(&owner));
        auto* window = owner.findChild<HelpWindow*>("HelpWindow");
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(window->isWindow());
        QCOMPARE(window->txtHelp->source().fileName(), QString("index.html"));
        QCOMPARE(window->windowTitle(), QString("QN-7X Control Panel Help"));
        QVERIFY(window->txtHelp->toPlainText().contains("Linking to a logger"));
        QVERIFY(!window->cmdBack->isEnabled());
    }

    void topics_data() {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("anchor");
        QTest::newRow("contents") << ""
                                  << "index.html"
                                  << "";
        QTest::newRow("anchor of the contents") << "keyboard"
                                                << "index.html"
                                                << "keyboard";
        QTest::newRow("page") << "options.html"
                              << "options.html"
                              << "";
        QTest::newRow("page and anchor") << "linking.html#modem"
                                         << "linking.html"
                                         << "modem";
    }
    void topics() {
        QFETCH(QString, topic);
        QFETCH(QString, page);
        QWidget owner;
        QVERIFY(ShowHelpFrom(SourcePages(), &owner, topic));
        auto* window = owner.findChild<HelpWindow*>("HelpWindow");
        QVERIFY(window);
        QCOMPARE(window->txtHelp->source().fileName(), page);
        QTEST(window->txtHelp->source().fragment(), "anchor");
        QVERIFY(!window->txtHelp->toPlainText().isEmpty());
    }

    // Contents, Back and Forward move through the pages read.
    void navigation() {
        QWidget owner;
        QVERIFY(ShowHelpFrom(SourcePages(), &owner));
        auto* window = owner.findChild<HelpWindow*>("HelpWindow");
        window->txtHelp->setSource(QUrl("communications.html"));
        QCOMPARE(window->windowTitle(), QString("Communications settings"));
        QVERIFY(window->cmdBack->isEnabled());
        window->cmdBack->click();
        QCOMPARE(window->txtHelp->source().fileName(), QString("index.html"));
        QVERIFY(window->cmdForward->isEnabled());
        window->cmdForward->click();
        QCOMPARE(window->txtHelp->source().fileName(), QString("communications.html"));
        window->cmdContents->click();
        QCOMPARE(window->txtHelp->source().fileName(), QString("index.html"));
    }

    // One help window per owner, reused.
    void oneWindow() {
        QWidget owner;
        QVERIFY(ShowHelpFrom(SourcePages(), &owner, "menus.html"));
        QVERIFY(ShowHelpFrom(SourcePages(), &owner, "panel.html"));
        QCOMPARE(owner.findChildren<HelpWindow*>().size(), 1);
        QCOMPARE(owner.findChild<HelpWindow*>()->txtHelp->source().fileName(),
                 QString("panel.html"));
    }

    // Without the contents the main topic's page is shown after the message;
    // without any page the operator is told where they were looked for.
    void missingContentsFallBackToThePanelPage() {
        QTemporaryDir pages;
        QVERIFY(QFile::copy(SourcePages() + "/panel.html", pages.filePath("panel.html")));
        QWidget owner;
        ModalAnswerer operatorAnswers(QMessageBox::Ok);
        QVERIFY(ShowHelpFrom(pages.path(), &owner));
        QCOMPARE(operatorAnswers.count(), 1);
        QCOMPARE(operatorAnswers.lastText(),
                 QString("The help viewer could not be opened. The older help file will be "
                         "shown instead; some features may not be fully explained."));
        QCOMPARE(owner.findChild<HelpWindow*>()->txtHelp->source().fileName(),
                 QString("panel.html"));
    }

    void missingPagesAreReported() {
        QTemporaryDir empty;
        QWidget owner;
        ModalAnswerer operatorAnswers(QMessageBox::Ok);
        QVERIFY(!ShowHelpFrom(empty.path(), &owner));
        QCOMPARE(operatorAnswers.count(), 2);
        QVERIFY(operatorAnswers.lastText().contains(QDir::toNativeSeparators(empty.path())));
        QVERIFY(!owner.findChild<HelpWindow*>());
    }
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"
