#pragma once
// What quenlio-decode needs of the operating system, and the only place the platforms
// differ: its arguments as UTF-8, standard streams that pass bytes unchanged, and files
// opened by UTF-8 names. Handles are C runtime file descriptors on both platforms;
// failures set errno.
#include <cstddef>
#include <string>
#include <vector>

namespace quenlio::decode {

inline constexpr int StandardInput = 0;
inline constexpr int StandardOutput = 1;

// The command-line arguments after the program's name, as UTF-8 texts.
std::vector<std::string> Arguments(int argc, char* argv[]);

// Standard input and output carry bytes unchanged (no CR/LF translation, and a Ctrl-Z is
// data), and messages on a console show as UTF-8.
void PrepareStandardStreams();

// Opens a file for reading by its UTF-8 name; -1 with errno set when it cannot be read,
// EISDIR for a folder.
int OpenForReading(const std::string& name);

// One read or write of at most `size` bytes: the count done, 0 at the end of the input,
// -1 with errno set on failure.
long ReadSome(int handle, char* buffer, std::size_t size);
long WriteSome(int handle, const char* data, std::size_t size);
void Close(int handle);

} // namespace quenlio::decode
