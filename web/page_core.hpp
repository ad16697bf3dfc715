#pragma once
// What the web page asks of core beyond the plain rules: a 12-character query with the flag's
// colour and the handset photo. The wasm bindings and the native comparison driver share it,
// so both faces decide the same.
#include "core/checks.hpp"
#include "core/query_result.hpp"

#include <string_view>

namespace quenlio::web {

struct Query12ForPage {
    QueryResult Result;
    bool Replacement = false; // the flag is shown in red
    std::string_view Photo;   // a picture's file name in ui/images without ".svg", or empty
};

// The picture's file name for a photo: "iphone5_black" ...; empty for None.
std::string_view PhotoName(ModelPhoto photo);

// SerialQuery12 with what the screen shows beside the fields.
Query12ForPage SerialQuery12ForPage(std::string_view serial, std::string_view partNumber);

} // namespace quenlio::web
