#include "tools/decode/system_io.hpp"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

namespace quenlio::decode {

namespace {

std::string ToUtf8(const wchar_t* text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return {};
    std::string utf8(static_cast<std::size_t>(bytes - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::wstring ToWide(const std::string& utf8) {
    if (utf8.empty())
        return {};
    const int chars = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), chars);
    return wide;
}

// Windows reads and writes at most an unsigned int at a time.
unsigned Chunk(std::size_t size) {
    return static_cast<unsigned>(std::min<std::size_t>(size, INT_MAX));
}

} // namespace

// argv is in the ANSI code page, which cannot hold every file name: the wide command line
// can.
std::vector<std::string> Arguments(int, char*[]) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(ToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

void PrepareStandardStreams() {
    _setmode(StandardInput, _O_BINARY);
    _setmode(StandardOutput, _O_BINARY);
    _setmode(2, _O_BINARY);
    // The help and the messages are UTF-8; a console shows them as such while the program
    // runs, and gets its own code page back when it ends.
    static const UINT consoleCodePage = GetConsoleOutputCP();
    if (consoleCodePage != 0 && consoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { SetConsoleOutputCP(consoleCodePage); });
}

int OpenForReading(const std::string& name) {
    const std::wstring wide = ToWide(name);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        errno = EISDIR;
        return -1;
    }
    return _wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

long ReadSome(int handle, char* buffer, std::size_t size) {
    return _read(handle, buffer, Chunk(size));
}

long WriteSome(int handle, const char* data, std::size_t size) {
    return _write(handle, data, Chunk(size));
}

void Close(int handle) {
    _close(handle);
}

} // namespace quenlio::decode
