#include "GraphLauncher.h"

#include "ProgramFiles.h"

#include "OrvGraphInterface.h"
#include "frmMessage.h"

#include <QCoreApplication>
#include <QPluginLoader>
#include <exception>

namespace {

QString& LibraryPath() {
    static QString path;
    return path;
}

OrvGraphFactory* Factory(QString* error) {
    // The loader stays alive for the process: a plugin loaded once stays loaded.
    static QPluginLoader loader;
    const QString path = LibraryPath().isEmpty() ? PluginPath("OrvGraph") : LibraryPath();
    if (loader.fileName() != path && !loader.isLoaded())
        loader.setFileName(path);
    auto* factory = qobject_cast<OrvGraphFactory*>(loader.instance());
    if (!factory)
        *error = loader.errorString();
    return factory;
}

void ReportCannotCreate() {
    ShowMessage("Unable to locate the graphing utility.\r\rPlease check that the graphing "
                "utility was installed correctly and that\rthe file \"OrvGraph.exe\" has not "
                "been moved from its installed location.",
                0, "Unable to access Graph");
}

// Errors other than a library that cannot be found or loaded.
constexpr int WrongInterface = 430;
constexpr int UnexpectedError = 440;

void ReportGraphError(int number, const QString& description) {
    ShowMessage("The following exception has occurred trying to access the graphing utility:\r" +
                    QString::number(number) + ", " + description + "\r\rWill attempt to continue.",
                0, "Error");
}

} // namespace

void GraphLauncher::setLibraryPath(const QString& path) {
    LibraryPath() = path;
}

GraphLauncher::GraphLauncher(QObject* parent) : QObject(parent) {}

GraphLauncher::~GraphLauncher() {
    release();
}

bool GraphLauncher::launch() {
    try {
        return createOrDisplay();
    } catch (const std::exception& error) {
        ReportGraphError(UnexpectedError, QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportGraphError(UnexpectedError, "Unknown error");
    }
    return false;
}

bool GraphLauncher::createOrDisplay() {
    if (m_graph) {
        if (auto* viewer = qobject_cast<OrvGraphInterface*>(m_graph.data())) {
            viewer->Display();
            return true;
        }
    }
    QString error;
    OrvGraphFactory* factory = Factory(&error);
    QObject* graph = factory ? factory->createOrvGraph() : nullptr;
    if (!graph) {
        ReportCannotCreate();
        return false;
    }
    if (!qobject_cast<OrvGraphInterface*>(graph)) {
        delete graph;
        ReportGraphError(WrongInterface, "The graphing library does not offer the viewer class.");
        return false;
    }
    m_graph = graph;
    connect(graph, SIGNAL(GraphBusy()), this, SIGNAL(GraphBusy()));
    connect(graph, SIGNAL(GraphFree()), this, SIGNAL(GraphFree()));
    connect(graph, SIGNAL(GraphEnd()), this, SLOT(ended()));
    return true;
}

void GraphLauncher::ended() {
    // The viewer raised the event from inside its own close: delete it later,
    // when its handlers have returned.
    if (m_graph)
        m_graph->deleteLater();
    m_graph = nullptr;
    emit GraphEnd();
}

void GraphLauncher::release() {
    if (m_graph)
        m_graph->deleteLater();
    m_graph = nullptr;
}
