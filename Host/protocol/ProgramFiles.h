#pragma once

#include <QString>

// Where the program finds its own files: beside it in the build tree, or in
// the installed folders (a private library folder for the plugins, the data
// folder for the help pages), found from the program's own folder so that an
// installation can be moved as a whole.

// The path of a plugin without its suffix, for QPluginLoader ("Comlane", "OrvGraph").
QString PluginPath(const QString& name);
// The folder of the operator's help pages.
QString HelpPagesFolder();
