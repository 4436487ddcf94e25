#pragma once

#include "ObjectWindow.hpp"
#include "Session/HostSession.hpp"
#include "Win32Api.hpp"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace HostSim {

// hostsim's main window on Windows: titled with the open project, a menu bar whose File menu holds
// Interoperability (each add-on's submenu registered with menu code 18, named from its string list),
// Save (also Ctrl+S) and Exit, and a status bar that shows the prompt of the highlighted command. Its
// commands are the command lines a person would type ("menu 32500 1", "save"), handed to `run`; closing the
// window ends the run as `quit` does.
class MainWindow {
public:
    using CommandSink = std::function<void(const std::string& line)>;
    static constexpr const wchar_t* ClassName = L"HostSimMain";
    // The Interoperability menu's code in a menu registration.
    static constexpr Int32 InteroperabilityMenuCode = 18;

    MainWindow(const HostSession& session, CommandSink run);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Null when Windows would not make the window.
    HWND Window() const { return window; }
    // Dispatches messages until the window is closed; a person's run.
    void RunUntilClosed();

private:
    template <typename Object>
    friend LRESULT CALLBACK ObjectWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Receive(UINT message, WPARAM wParam, LPARAM lParam);
    HMENU BuildMenuBar();
    void SetStatus(const std::string& text);

    const HostSession& session;
    CommandSink run;
    HWND window = nullptr;
    HWND status = nullptr;
    HACCEL keys = nullptr; // Ctrl+S
    // By command id - first command id: the command line and the prompt shown while it is highlighted.
    std::vector<std::pair<std::string, std::string>> commands;
    bool closed = false;
};

} // namespace HostSim
