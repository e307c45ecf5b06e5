#pragma once

#include "OrvCommsInterface.h"

#include <QObject>

class ComlanePlugin : public QObject, public ComlaneFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ComlaneFactory_iid)
    Q_INTERFACES(ComlaneFactory)
public:
    OrvCommsInterface* createOrvComms() override;
};
