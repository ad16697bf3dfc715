// The unpacked trained data, taken into the program's read-only data whole by the assembler.
// QUENLIO_TRAINED_DATA_FILE is its path, which the build gives.
#include "ocr/trained_data.hpp"

#if defined(_WIN32)
#define QUENLIO_READ_ONLY ".section .rdata,\"dr\"\n"
#else
#define QUENLIO_READ_ONLY ".section .rodata\n"
#endif

asm(QUENLIO_READ_ONLY
    ".balign 16\n"
    ".globl quenlio_trained_data\n"
    "quenlio_trained_data:\n"
    ".incbin \"" QUENLIO_TRAINED_DATA_FILE "\"\n"
    ".globl quenlio_trained_data_end\n"
    "quenlio_trained_data_end:\n"
    ".byte 0\n"
    ".text\n");

extern "C" const char quenlio_trained_data[];
extern "C" const char quenlio_trained_data_end[];

namespace quenlio::ocr {

std::string_view TrainedData() {
    return {quenlio_trained_data, std::size_t(quenlio_trained_data_end - quenlio_trained_data)};
}

} // namespace quenlio::ocr
