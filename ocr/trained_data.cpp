#include "ocr/trained_data.hpp"

extern "C" const char quenlio_trained_data[];
extern "C" const char quenlio_trained_data_end[];

namespace quenlio::ocr {
std::string_view TrainedData() {
    return {quenlio_trained_data, std::size_t(quenlio_trained_data_end - quenlio_trained_data)};
}
} // namespace quenlio::ocr
