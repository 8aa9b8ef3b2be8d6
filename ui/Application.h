#pragma once
// The application object: the application title and the program icon, the main form,
// the event loop, and the error display through which every failure reaches the user.

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/Exceptions.h"
#include "ui/Handles.h"

namespace korventa::ui {

class Form;

// The executable's file name without its folder, cut at its first ".", with every
// character after the first lower-cased.
std::wstring ApplicationTitle(std::wstring_view executablePath);

// The text of an error box: the message, with a full stop appended when it is not empty
// and its last character (a surrogate pair counts as one) comes after "." in code order.
std::wstring ErrorBoxText(std::wstring_view message);

class Application {
public:
    // Reads the title from the running executable and loads the icon MAINICON.
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* CurrentOrNull() noexcept { return current_; }

    const std::wstring& Title() const noexcept { return title_; }
    HICON Icon() const noexcept { return icon_; }
    HICON SmallIcon() const noexcept { return smallIcon_; }

    // Nothing of the program's own is registered to run here.
    void Initialize() {}

    // Makes the form the factory builds the main form; what the factory throws goes on
    // to the caller and no form is kept.
    void CreateForm(const std::function<std::unique_ptr<Form>()>& factory);
    Form* MainForm() const noexcept { return mainForm_.get(); }

    // Shows the main form as the start-up request asks and takes one event at a time until
    // the main form's window has been destroyed; then destroys the form.
    void Run(int showCommand);

    // Handles the events waiting in the queue, as the event loop would, and returns.
    void ProcessMessages();

    // The error display: a modal box with the message, the title as caption, OK and the
    // stop sign, owned by the main form so that it takes no input while the box is up.
    void ShowException(const Exception& exception) noexcept;

    // What escapes an event: EAbort is dropped, an Exception is shown, anything else is
    // shown as an Exception with an empty message.
    void HandleException(std::exception_ptr exception) noexcept;

    // Called where a window dispatches an event that threw.
    static void HandleEventException(std::exception_ptr exception) noexcept;

private:
    bool PreTranslateMessage(const MSG& message) noexcept;
    void Dispatch(const MSG& message) noexcept;

    static Application* current_;
    ComApartment com_;
    std::wstring title_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::unique_ptr<Form> mainForm_;
};

}  // namespace korventa::ui
