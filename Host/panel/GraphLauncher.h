#pragma once

#include <QObject>
#include <QPointer>

// Holds the one graph viewer object of the OrvGraph plugin: creates it on the
// first press of the Graph button, brings it forward on later presses, and
// drops it when the viewer closes.
class GraphLauncher : public QObject {
    Q_OBJECT
public:
    explicit GraphLauncher(QObject* parent = nullptr);
    ~GraphLauncher() override;

    bool exists() const { return m_graph != nullptr; }
    // Creates the viewer or calls Display on it. False (after the message)
    // when the library cannot be used.
    bool launch();
    // Drops the viewer object (the link button's press releases it).
    void release();

    // Where the library is loaded from: "OrvGraph" in the program's folder.
    static void setLibraryPath(const QString& path);

signals:
    void GraphBusy();
    void GraphFree();
    void GraphEnd();

private slots:
    void ended();

private:
    bool createOrDisplay();

    QPointer<QObject> m_graph;
};
