#include "ComlanePlugin.h"

#include "OrvComms.h"

OrvCommsInterface* ComlanePlugin::createOrvComms() {
    return new OrvComms;
}
