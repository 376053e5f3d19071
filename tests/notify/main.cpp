// Desktop notifications and the wake-up report against real servers of our
// own on a private message bus, in one QApplication (offscreen).
#include <gtest/gtest.h>

#include <QApplication>
#include <QtGlobal>
#include <cstdio>

#include "notify/private_bus.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (at build time) needs no bus and no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Before Qt connects to any bus.
  vesk::test::PrivateBus bus;
  if (!bus.Start()) {
    std::fprintf(stderr, "cannot start a private dbus-daemon\n");
    return 1;
  }
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
