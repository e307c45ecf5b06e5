#pragma once

#include "OrvGraphInterface.h"

#include <QObject>

// The plugin's root object: the host loads OrvGraph.so, takes this object as
// its OrvGraphFactory and creates one graph object per viewer it opens.
class OrvGraphPlugin : public QObject, public OrvGraphFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OrvGraphFactory_iid)
    Q_INTERFACES(OrvGraphFactory)
public:
    QObject* createOrvGraph() override;
};
