// main() for tests that drive windows: one QApplication for the whole run
// (tests set QT_QPA_PLATFORM=offscreen through ctest).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
