#pragma once

#include "OrvGraphInterface.h"

#include <QObject>
#include <QPointer>

class frmGraph;

// The graph object the host creates: creating it opens the viewer window, and
// the window's busy periods and its closing reach the host as GraphBusy /
// GraphFree (always in pairs) and GraphEnd.
class OrvGraph : public QObject, public OrvGraphInterface {
    Q_OBJECT
    Q_INTERFACES(OrvGraphInterface)
public:
    explicit OrvGraph(QObject* parent = nullptr);
    ~OrvGraph() override;

    void Display() override;
    frmGraph* form() const;

signals:
    void GraphBusy();
    void GraphFree();
    void GraphEnd();

private:
    QPointer<frmGraph> mForm;
};
