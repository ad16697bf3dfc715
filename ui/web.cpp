#include "ui/web.hpp"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace quenlio {

namespace {
web::Hook* g_hook = nullptr;
} // namespace

web::Hook::Hook() {
    g_hook = this;
}
web::Hook::~Hook() {
    if (g_hook == this)
        g_hook = nullptr;
}

void OpenWebPage(const QString& address) {
    if (g_hook) {
        g_hook->m_opened.append(address);
        return;
    }
#ifdef Q_OS_WIN
    // The command interpreter's "start" hands the address to the registered browser; its
    // console starts minimised, and nothing waits for it. The interpreter is always the
    // system's own, never a cmd.exe lying in the program's or the current folder. The empty
    // "" is start's window title; the quotes round the address keep "&" and "^" of a query
    // string from splitting the command (links.hpp refuses addresses that quoting cannot hold).
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const std::wstring interpreter = std::wstring(folder, length) + L"\\cmd.exe";
    std::wstring commandLine = L"cmd.exe /c start \"\" \"" + address.toStdWString() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(interpreter.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                       nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
#else
    // The desktop's own opener, never a shell string; a failure is the browser's business.
    QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
#endif
}

} // namespace quenlio
