// Writes the 64-bar tune as a script for `tarvesh --script`: tunescript SCRIPT BITMAP.
#include <QFile>
#include <cstdio>

#include "tune.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s SCRIPT BITMAP\n", argv[0]);
    return 2;
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly)) return 1;
  const QByteArray script = tarvesh::bench::TuneScript(QString::fromLocal8Bit(argv[2])).toUtf8();
  return file.write(script) == script.size() ? 0 : 1;
}
