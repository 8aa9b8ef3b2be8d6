#include <windows.h>

#include <memory>

#include "app/MainForm.h"
#include "app/StartUp.h"
#include "ui/Application.h"

// The command line is not read; the start-up show request is the one thing heeded.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    korventa::ui::Application application(instance);
    return korventa::RunStartUp(
        application, [] { return std::make_unique<korventa::TForm1>(); }, showCommand);
}
