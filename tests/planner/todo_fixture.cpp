#include "planner/todo_fixture.h"

#include "planner/entry_edit.h"
#include "planner/todo_open.h"
#include "store/app_context.h"
#include "views/month_view.h"

namespace vesk::test {

namespace {

std::string LinePath(int n) { return std::string(kAppKey) + "\\ToDo\\" + std::to_string(n); }

}  // namespace

ToDoTest::ToDoTest() { app.ctx.ui = &ui; }

ToDoTest::~ToDoTest() {
  frame.reset();
  ui.Pump();
}

void ToDoTest::StartFrame() {
  frame = std::make_unique<CMainFrame>(app.ctx, [] {});
  ASSERT_TRUE(frame->CreateFrame());
  frame->view().LoadColors();
}

ToDo& ToDoTest::Open() {
  OpenToDoList(app.ctx);
  ui.Pump();
  EXPECT_NE(todo(), nullptr);
  ui.Paint(*todo());
  return *todo();
}

CEntryEdit& ToDoTest::editor() const {
  EXPECT_NE(todo()->editor(), nullptr);
  return *todo()->editor();
}

void ToDoTest::Type(std::string_view text) { ui.Type(editor(), text); }

std::optional<std::string> ToDoTest::Stored(int n) const {
  std::optional<RegValue> value = app.registry.QueryValue(LinePath(n), "notes");
  if (!value) return std::nullopt;
  return value->AsString();
}

void ToDoTest::Store(int n, std::string_view text) {
  app.registry.CreateKey(LinePath(n));
  app.registry.SetValue(LinePath(n), "notes", RegValue::FromString(text));
}

void ToDoTest::TearDown() {
  ExpectScriptDone(app.boxes);
  for (const std::string& f : ui.failures()) ADD_FAILURE() << f;
}

}  // namespace vesk::test
