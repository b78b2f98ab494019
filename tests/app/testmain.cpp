#include <gtest/gtest.h>
#include <QApplication>

#include "app/largebuffers.h"
#include "page/pagefont.h"

// Window tests need one application object for the whole run.
int main(int argc, char** argv) {
  tarvesh::app::GiveLargeBuffersBackWhenFreed();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  tarvesh::page::InstallPageFontSubstitutes();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
