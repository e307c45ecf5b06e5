#include "OrvGraph.h"

#include "frmGraph.h"

OrvGraph::OrvGraph(QObject* parent) : QObject(parent), mForm(new frmGraph) {
    connect(mForm, &frmGraph::ModalStart, this, &OrvGraph::GraphBusy);
    connect(mForm, &frmGraph::ModalStop, this, &OrvGraph::GraphFree);
    connect(mForm, &frmGraph::GraphClosed, this, &OrvGraph::GraphEnd);
    mForm->show();
}

OrvGraph::~OrvGraph() {
    if (!mForm)
        return;
    // The host usually releases the object after GraphEnd, possibly from inside
    // the window's own close; the window is therefore closed (which saves its
    // placement when still open) and deleted only once control is back in the
    // event loop.
    disconnect(mForm, nullptr, this, nullptr);
    mForm->close();
    mForm->deleteLater();
}

void OrvGraph::Display() {
    if (mForm)
        mForm->display();
}

frmGraph* OrvGraph::form() const {
    return mForm;
}
