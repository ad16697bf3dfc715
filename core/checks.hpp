#pragma once
// The factory, the after-sales replacement flag and the handset photo.
#include <string_view>

namespace quenlio {

enum class ModelPhoto { None, BlackIPhone5, WhiteIPhone5, BlackIPhone4, WhiteIPhone4 };

// "中国-成都富士康" for serials starting "DN", "中国-郑州富士康" for "F1", otherwise
// (a serial shorter than two characters included) "中国-富士康". Case-insensitive.
std::string_view FactoryForSerial(std::string_view serial);

// True when the serial's first three characters, upper-cased, are one of the
// replacement prefixes C7G, C3K, DQG, DYJ, CCP.
bool IsReplacementSerial(std::string_view serial);

// Which handset photo a catalogue model text selects; None for any other text.
ModelPhoto PhotoForModel(std::string_view deviceModel);

} // namespace quenlio
