#pragma once

#include <QJsonObject>

namespace tarvesh::app {

class Form1;

// The whole window state as one JSON object: cursor, page, engine and window variables, every
// named control, and the events since start-up.
QJsonObject DumpWindow(Form1& form);

// One control as the dump shows it.
QJsonObject DumpControl(QObject* control);

}  // namespace tarvesh::app
