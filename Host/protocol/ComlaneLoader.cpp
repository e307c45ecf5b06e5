#include "ComlaneLoader.h"

#include "ProgramFiles.h"

#include <QCoreApplication>
#include <QPluginLoader>

namespace {

struct LoadedLink {
    std::unique_ptr<OrvCommsInterface> link;
    QString error;
};

LoadedLink& Loaded() {
    // Tried once: a plugin loaded (or refused) once stays so for the process.
    static LoadedLink loaded = [] {
        LoadedLink made;
        made.link = CreateOrvComms(&made.error);
        return made;
    }();
    return loaded;
}

} // namespace

std::unique_ptr<OrvCommsInterface> CreateOrvComms(QString* error) {
    // The loader stays alive for the process: a plugin loaded once stays loaded.
    static QPluginLoader loader(PluginPath("Comlane"));
    auto* factory = qobject_cast<ComlaneFactory*>(loader.instance());
    if (!factory) {
        if (error)
            *error = loader.errorString();
        return nullptr;
    }
    return std::unique_ptr<OrvCommsInterface>(factory->createOrvComms());
}

OrvCommsInterface* CommsLink() {
    return Loaded().link.get();
}

QString CommsLoadError() {
    return Loaded().link ? QString() : Loaded().error;
}
