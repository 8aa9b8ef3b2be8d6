#include "app/StartUp.h"

#include "ui/Exceptions.h"

namespace korventa {

int RunStartUp(ui::Application& application, const MainFormFactory& createMainForm, int showCommand) noexcept {
    try {
        application.Initialize();
        application.CreateForm(createMainForm);
        application.Run(showCommand);
    } catch (const Exception& failure) {
        application.ShowException(failure);
    } catch (...) {
        // Not one of ours: the box appears, with nothing to say.
        application.ShowException(Exception(std::wstring()));
    }
    return 0;
}

}  // namespace korventa
