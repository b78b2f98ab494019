// A bare Qt widgets program: one window shown, then quit. The yardstick for the start-up time
// and the memory of the program itself.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(1024, 768);
  window.show();
  QTimer::singleShot(0, &app, &QApplication::quit);
  return app.exec();
}
