#include "OrvGraphPlugin.h"

#include "OrvGraph.h"

QObject* OrvGraphPlugin::createOrvGraph() {
    return new OrvGraph;
}
