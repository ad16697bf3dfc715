#pragma once
// The trained data the recognizer reads with (third_party/tessdata), built into the program.
#include <string_view>

namespace quenlio::ocr {
std::string_view TrainedData();
}
