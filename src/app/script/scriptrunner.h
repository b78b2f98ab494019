#pragma once

#include <QString>
#include <QTextStream>

namespace tarvesh::app {

class Form1;
class ScriptedDialogs;

// Runs a script of user actions against the window: each step is delivered as the matching Qt
// event or the handler a click runs. Returns 0 when every step ran, 1 after reporting
// "FILE:LINE: message" on `errors` for the first step that could not run.
int RunScript(Form1& form, ScriptedDialogs& dialogs, const QString& path, QTextStream& errors);

}  // namespace tarvesh::app
