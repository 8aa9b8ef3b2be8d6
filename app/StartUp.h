#pragma once
// The program's start: build the main window, run the event loop, and show whatever
// escapes either in the error display. The exit code is 0 on every path.

#include <functional>
#include <memory>

#include "ui/Application.h"
#include "ui/Form.h"

namespace korventa {

using MainFormFactory = std::function<std::unique_ptr<ui::Form>()>;

int RunStartUp(ui::Application& application, const MainFormFactory& createMainForm, int showCommand) noexcept;

}  // namespace korventa
