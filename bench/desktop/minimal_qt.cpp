// The yardstick for the desktop program's start-up and memory: the smallest Qt Widgets
// program that opens a window, one label in it.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QLabel label(QStringLiteral("Tonvela"));
  label.setWindowTitle(QStringLiteral("minimal"));
  label.resize(646, 659);
  label.show();
  return application.exec();
}
