#include "tools/decode/system_io.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quenlio::decode {

std::vector<std::string> Arguments(int argc, char* argv[]) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void PrepareStandardStreams() {}

int OpenForReading(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

long ReadSome(int handle, char* buffer, std::size_t size) {
    return static_cast<long>(::read(handle, buffer, size));
}

long WriteSome(int handle, const char* data, std::size_t size) {
    return static_cast<long>(::write(handle, data, size));
}

void Close(int handle) {
    ::close(handle);
}

} // namespace quenlio::decode
