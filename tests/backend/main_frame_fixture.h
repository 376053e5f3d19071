#pragma once
// The main frame of a started application on the Qt backend, over an
// in-memory store whose today is Wednesday 15 March 2000, with a lunch on the 20th.
#include <memory>
#include <string_view>

#include "app/main_frame.h"
#include "app/veskcal_app.h"
#include "backend_fixture.h"
#include "store/app_context.h"
#include "support/test_app.h"

namespace vesk::test {

class MainFrameQtTest : public QtBackendTest {
 protected:
  MainFrameQtTest() {
    app.ctx.ui = &ui;
    app.ctx.dataDir = temp.path();
    app.registry.CreateKey("SOFTWARE\\Tolvard\\VeskCal\\sounds");
    app.AddEntry(2000, 3, 20, 12, 0, "Lunch");
    application = std::make_unique<CVeskCalApp>(app.ctx, [] {});
  }
  ~MainFrameQtTest() override {
    application.reset();
    Flush();
  }
  void Start() {
    ASSERT_TRUE(application->InitInstance());
    Flush();
  }
  CMainFrame& frame() const { return *application->mainFrame(); }

  TestApp app;
  TempDir temp;
  std::unique_ptr<CVeskCalApp> application;
};

}  // namespace vesk::test
