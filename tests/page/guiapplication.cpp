#include "page/guiapplication.h"

#include <QGuiApplication>

#include "page/pagefont.h"

namespace tarvesh::page::testing {

void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "tarvesh_tests";
  static char* argv[] = {name, nullptr};
  if (QGuiApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  InstallPageFontSubstitutes();
}

}  // namespace tarvesh::page::testing
