#include "planner/todo_open.h"

#include <memory>

#include "planner/todo.h"
#include "platform/ui.h"
#include "store/app_context.h"

namespace vesk {

void OpenToDoList(AppContext& ctx) {
  if (ctx.ui == nullptr) return;
  if (ToDo* open = ctx.todo; open != nullptr && open->IsCreated()) {
    NativeWindow* window = open->native();
    if (window->IsMinimized()) window->Restore();
    window->BringToTop();
    window->Activate();
    return;
  }
  auto& todo = static_cast<ToDo&>(ctx.ui->Adopt(std::make_unique<ToDo>(ctx)));
  // A window that could not be made is released again.
  if (!todo.CreateToDo()) todo.Destroy();
}

}  // namespace vesk
