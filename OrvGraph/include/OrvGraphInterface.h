#pragma once

#include <QtPlugin>

class QObject;

// The viewer class of OrvGraph as the host sees it. The object returned by the
// factory is a QObject that implements this interface and has the three
// argument-less signals GraphBusy(), GraphFree() and GraphEnd().
class OrvGraphInterface {
public:
    virtual ~OrvGraphInterface() = default;
    // Shows the viewer window again (brings it up if hidden or behind).
    virtual void Display() = 0;
};

#define OrvGraphInterface_iid "com.orvane.OrvGraph.OrvGraphInterface/1.0"
Q_DECLARE_INTERFACE(OrvGraphInterface, OrvGraphInterface_iid)

// The plugin's root object. createOrvGraph() opens the viewer window and
// returns the new object (a QObject implementing OrvGraphInterface); the
// caller owns it and deletes it after GraphEnd (deleteLater is safe).
class OrvGraphFactory {
public:
    virtual ~OrvGraphFactory() = default;
    virtual QObject* createOrvGraph() = 0;
};

#define OrvGraphFactory_iid "com.orvane.OrvGraph.OrvGraphFactory/1.0"
Q_DECLARE_INTERFACE(OrvGraphFactory, OrvGraphFactory_iid)
