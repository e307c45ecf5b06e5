#include "ComlaneLoader.h"

#include <QCoreApplication>
#include <QPluginLoader>

std::unique_ptr<OrvCommsInterface> CreateOrvComms(QString* error) {
    // The loader stays alive for the process: a plugin loaded once stays loaded.
    static QPluginLoader loader(QCoreApplication::applicationDirPath() + "/Comlane");
    auto* factory = qobject_cast<ComlaneFactory*>(loader.instance());
    if (!factory) {
        if (error)
            *error = loader.errorString();
        return nullptr;
    }
    return std::unique_ptr<OrvCommsInterface>(factory->createOrvComms());
}
