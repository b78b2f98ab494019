#pragma once

#include <QString>

namespace tarvesh::app {

// Makes Qt's own dialogs and buttons (OK, Cancel, the file dialog's fields) speak Chinese like
// the rest of the window, from Qt's translations installed with the system. Returns the file
// that was loaded, empty when none was found (Qt's English is then shown).
QString InstallQtTranslations();

}  // namespace tarvesh::app
