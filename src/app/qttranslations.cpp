#include "app/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tarvesh::app {

QString InstallQtTranslations() {
  auto* translator = new QTranslator(QCoreApplication::instance());
  // The window is Chinese whatever the system's language.
  if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return QString();
  }
  QCoreApplication::installTranslator(translator);
  return translator->filePath();
}

}  // namespace tarvesh::app
