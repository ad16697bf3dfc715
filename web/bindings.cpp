// The core operations the web page calls, texts in and texts out. Nothing is decided here
// that core or web/page_core does not decide: this file only converts.
#include "core/checks.hpp"
#include "core/dates.hpp"
#include "core/query11.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"
#include "web/page_core.hpp"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>
#include <string>

namespace {

using emscripten::val;
using quenlio::QueryResult;

// A JS object with the six fields of the result, by their names.
val ResultObject(const QueryResult& r) {
    val out = val::object();
    out.set("DeviceModel", r.DeviceModel);
    out.set("ProductionDate", r.ProductionDate);
    out.set("SalesRegion", r.SalesRegion);
    out.set("Carrier", r.Carrier);
    out.set("Factory", r.Factory);
    out.set("AfterSalesReplacement", r.AfterSalesReplacement);
    return out;
}

// A field of the object the page passes in; anything but a string reads as the empty text.
std::string Field(const val& object, const char* name) {
    const val field = object[name];
    return field.isString() ? field.as<std::string>() : std::string();
}

std::string NormalizeSerial(const std::string& text) {
    return quenlio::NormalizeSerial(text);
}

std::string UpperAscii(const std::string& text) {
    return quenlio::UpperAscii(text);
}

double CharCount(const std::string& text) {
    return static_cast<double>(quenlio::CharCount(text));
}

bool CheckHalfYearCode(const std::string& serial) {
    return quenlio::CheckHalfYearCode(serial);
}

std::string AutofillPartNumber(const std::string& serial) {
    return std::string(quenlio::AutofillPartNumber(serial).value_or(std::string_view()));
}

val SerialQuery12(const std::string& serial, const std::string& partNumber) {
    const quenlio::web::Query12ForPage query = quenlio::web::SerialQuery12ForPage(serial, partNumber);
    val out = ResultObject(query.Result);
    out.set("replacement", query.Replacement);
    out.set("photo", std::string(query.Photo));
    return out;
}

bool CheckOldSerial(const std::string& serial) {
    return quenlio::CheckOldSerial(serial);
}

val SerialQuery11(const std::string& serial, const std::string& partNumber, const val& shown) {
    QueryResult before;
    if (!shown.isNull() && !shown.isUndefined()) {
        before.DeviceModel = Field(shown, "DeviceModel");
        before.ProductionDate = Field(shown, "ProductionDate");
        before.SalesRegion = Field(shown, "SalesRegion");
        before.Carrier = Field(shown, "Carrier");
        before.Factory = Field(shown, "Factory");
        before.AfterSalesReplacement = Field(shown, "AfterSalesReplacement");
    }
    return ResultObject(quenlio::SerialQuery11(serial, partNumber, before));
}

val TextOrNull(const std::optional<std::string>& text) {
    return text ? val(*text) : val::null();
}

val EstimateActivationDate(const std::string& warrantyEnd) {
    return TextOrNull(quenlio::EstimateActivationDate(warrantyEnd));
}

val RefurbishmentVerdict(const std::string& activation, const std::string& purchase,
                         const std::string& serial) {
    return TextOrNull(quenlio::RefurbishmentVerdict(activation, purchase, serial));
}

} // namespace

EMSCRIPTEN_BINDINGS(quenlio) {
    emscripten::function("normalizeSerial", &NormalizeSerial);
    emscripten::function("upperAscii", &UpperAscii);
    emscripten::function("charCount", &CharCount);
    emscripten::function("checkHalfYearCode", &CheckHalfYearCode);
    emscripten::function("autofillPartNumber", &AutofillPartNumber);
    emscripten::function("serialQuery12", &SerialQuery12);
    emscripten::function("checkOldSerial", &CheckOldSerial);
    emscripten::function("serialQuery11", &SerialQuery11);
    emscripten::function("estimateActivationDate", &EstimateActivationDate);
    emscripten::function("refurbishmentVerdict", &RefurbishmentVerdict);
}
