#pragma once
// The trained data that the desktop's recognizer reads with: third_party/tessdata's English
// model, unpacked when the program is built and linked into it, so that the program stays one
// file and reads no file to recognize text.
#include <string_view>

namespace quenlio::ocr {

std::string_view TrainedData();

} // namespace quenlio::ocr
