#include "web/page_core.hpp"

#include "core/query12.hpp"

namespace quenlio::web {

std::string_view PhotoName(ModelPhoto photo) {
    switch (photo) {
    case ModelPhoto::BlackIPhone5:
        return "iphone5_black";
    case ModelPhoto::WhiteIPhone5:
        return "iphone5_white";
    case ModelPhoto::BlackIPhone4:
        return "iphone4_black";
    case ModelPhoto::WhiteIPhone4:
        return "iphone4_white";
    case ModelPhoto::None:
        break;
    }
    return {};
}

Query12ForPage SerialQuery12ForPage(std::string_view serial, std::string_view partNumber) {
    Query12ForPage out;
    out.Result = SerialQuery12(serial, partNumber);
    // The flag is red exactly for a replacement unit, the unit the flag text "是" names.
    out.Replacement = IsReplacementSerial(serial);
    // The photo follows the model text the query wrote, as the screen's step after the lookup.
    out.Photo = PhotoName(PhotoForModel(out.Result.DeviceModel));
    return out;
}

} // namespace quenlio::web
