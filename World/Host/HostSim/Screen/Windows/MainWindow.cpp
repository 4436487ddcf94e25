#include "Screen/Windows/MainWindow.hpp"

#include "Record/PathText.hpp"
#include "Screen/Windows/WindowText.hpp"

namespace HostSim {

namespace {

constexpr UINT FirstCommandId = 100;
constexpr int StatusHeight = 22;

std::string TitleFor(const ProjectDocument& project) {
    const std::string name = project.Path() ? PathToUtf8(PathFromUtf8(*project.Path()).filename())
                                            : std::string("Untitled project");
    return name + " - hostsim";
}

} // namespace

MainWindow::MainWindow(const HostSession& hostSession, CommandSink sink)
    : session(hostSession), run(std::move(sink)) {
    if (!RegisterObjectWindowClass(ClassName, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1),
                                   ::LoadIconW(nullptr, SystemResource(IDI_APPLICATION)))) {
        return;
    }
    window = ::CreateWindowExW(0, ClassName, WideText(TitleFor(session.Project())).c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, 800, 560,
                               nullptr, BuildMenuBar(), ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return;
    }
    AttachWindowObject(window, this);
    status = ::CreateWindowExW(0, L"STATIC", L"",
                               WS_CHILD | WS_VISIBLE | SS_SUNKEN | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0, 0,
                               StatusHeight, window, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(status, WM_SETFONT, reinterpret_cast<WPARAM>(DialogFont()), FALSE);
    RECT client{};
    ::GetClientRect(window, &client);
    ::SetWindowPos(status, nullptr, 0, client.bottom - StatusHeight, client.right, StatusHeight,
                   SWP_NOZORDER);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);
}

MainWindow::~MainWindow() {
    if (window != nullptr) {
        DetachWindowObject(window);
        ::DestroyWindow(window);
    }
    if (keys != nullptr) {
        ::DestroyAcceleratorTable(keys);
    }
}

HMENU MainWindow::BuildMenuBar() {
    HMENU interoperability = ::CreatePopupMenu();
    for (const MenuBook::Menu& menu : session.Menus().Menus()) {
        if (menu.record.menuCode != InteroperabilityMenuCode || menu.texts.empty()) {
            continue;
        }
        HMENU submenu = ::CreatePopupMenu();
        for (std::size_t item = 1; item < menu.texts.size(); ++item) {
            const auto id = static_cast<UINT>(FirstCommandId + commands.size());
            commands.emplace_back("menu " + std::to_string(menu.record.menuListId) + " " +
                                      std::to_string(item),
                                  item < menu.prompts.size() ? menu.prompts[item] : std::string());
            ::AppendMenuW(submenu, MF_STRING, id, WideText(VisibleMenuText(menu.texts[item])).c_str());
        }
        ::AppendMenuW(interoperability, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
                      WideText(VisibleMenuText(menu.texts.front())).c_str());
    }
    HMENU file = ::CreatePopupMenu();
    // Without an add-on's menu, Interoperability is there but greyed, as the host shows it.
    const UINT empty = ::GetMenuItemCount(interoperability) == 0 ? MF_GRAYED : 0;
    ::AppendMenuW(file, MF_POPUP | empty, reinterpret_cast<UINT_PTR>(interoperability), L"&Interoperability");
    ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    const auto save = static_cast<UINT>(FirstCommandId + commands.size());
    commands.emplace_back("save", "Saves the project.");
    ::AppendMenuW(file, MF_STRING, save, L"&Save\tCtrl+S");
    // Ctrl+S saves as in every desktop program; the menu item above shows the key.
    ACCEL saveKey{FCONTROL | FVIRTKEY, 'S', static_cast<WORD>(save)};
    keys = ::CreateAcceleratorTableW(&saveKey, 1);
    const auto quit = static_cast<UINT>(FirstCommandId + commands.size());
    commands.emplace_back("quit", "Closes the project and quits.");
    ::AppendMenuW(file, MF_STRING, quit, L"E&xit");
    HMENU bar = ::CreateMenu();
    ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    return bar;
}

void MainWindow::SetStatus(const std::string& text) {
    if (status != nullptr) {
        ::SetWindowTextW(status, WideText(text).c_str());
    }
}

void MainWindow::RunUntilClosed() {
    MSG message{};
    while (!closed && window != nullptr && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (keys == nullptr || ::TranslateAcceleratorW(window, keys, &message) == 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

LRESULT MainWindow::Receive(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        if (id < FirstCommandId || id - FirstCommandId >= commands.size()) {
            return 0;
        }
        const std::string line = commands[id - FirstCommandId].first;
        SetStatus("");
        if (line == "quit") {
            closed = true;
        } else {
            run(line);
        }
        return 0;
    }
    case WM_MENUSELECT: {
        const UINT id = LOWORD(wParam);
        const bool command =
            (HIWORD(wParam) & MF_POPUP) == 0 && id >= FirstCommandId && id - FirstCommandId < commands.size();
        SetStatus(command ? commands[id - FirstCommandId].second : std::string());
        return 0;
    }
    case WM_SIZE:
        if (status != nullptr) {
            ::SetWindowPos(status, nullptr, 0, HIWORD(lParam) - StatusHeight, LOWORD(lParam), StatusHeight,
                           SWP_NOZORDER);
        }
        return 0;
    case WM_CLOSE:
        closed = true; // the run ends as `quit` ends it: release, unload, the transcript's last events
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace HostSim
