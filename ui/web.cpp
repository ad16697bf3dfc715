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

web::Hook::Hook() { g_hook = this; }
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
    // The command interpreter's "start" hands the address to the registered browser;
    // its console is started minimised, and nothing waits for it.
    std::wstring commandLine = L"cmd.exe /c start " + address.toStdWString();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
#else
    // The desktop's own opener, never a shell string; a failure is the browser's business.
    QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
#endif
}

} // namespace quenlio
