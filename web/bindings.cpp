// The core operations the web page calls, texts in and texts out, through embind. Nothing is
// decided here: every rule, length and text is core's, and this file only converts.
#include "core/dates.hpp"
#include "core/label.hpp"
#include "core/lengths.hpp"
#include "core/query11.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstddef>
#include <optional>
#include <string>

namespace {

using emscripten::val;
using namespace quenlio;

// embind passes texts as std::string; core takes views of them.
std::string NormalizeSerialText(const std::string& text) {
    return NormalizeSerial(text);
}

std::string UpperAsciiText(const std::string& text) {
    return UpperAscii(text);
}

std::size_t CharCountText(const std::string& text) {
    return CharCount(text);
}

std::string CharSliceText(const std::string& text, std::size_t first, std::size_t count) {
    return std::string(CharSlice(text, first, count));
}

bool CheckHalfYearCodeText(const std::string& serial) {
    return CheckHalfYearCode(serial);
}

std::string AutofillPartNumberText(const std::string& serial) {
    return std::string(AutofillPartNumber(serial).value_or(std::string_view()));
}

QueryDisplay12 DisplayQuery12Text(const std::string& serial, const std::string& partNumber) {
    return DisplayQuery12(serial, partNumber);
}

bool CheckOldSerialText(const std::string& serial) {
    return CheckOldSerial(serial);
}

QueryResult SerialQuery11Text(const std::string& serial, const std::string& partNumber,
                              const QueryResult& shown) {
    return SerialQuery11(serial, partNumber, shown);
}

// A date that cannot be read comes back as null.
val TextOrNull(const std::optional<std::string>& text) {
    return text ? val(*text) : val::null();
}

val EstimateActivationDateText(const std::string& warrantyEnd) {
    return TextOrNull(EstimateActivationDate(warrantyEnd));
}

val RefurbishmentVerdictText(const std::string& activation, const std::string& purchase,
                             const std::string& serial) {
    return TextOrNull(RefurbishmentVerdict(activation, purchase, serial));
}

// What one code a hand scanner typed is for the screen: its serial, its part number, or the line
// the screen says of it.
struct ScannedText {
    std::string Serial, PartNumber, Message;
};

ScannedText ReadScannedCodeText(const std::string& text, int serialLength) {
    const ScannedCode code = ReadScannedCode(text, std::size_t(serialLength));
    return {code.Serial, code.PartNumber, std::string(code.Message)};
}

// The scan's texts, which the page shows before its reader has loaded (or when it cannot load).
struct ScanTexts {
    std::string Title, UnreadablePicture, Aim, Reading, Refused, NoCamera, Insecure, CameraFailed,
        Unavailable;
};

// The picture kinds the scan takes, as a file input's `accept` lists them.
std::string PictureTypeList() {
    std::string list;
    for (const PictureType& type : PictureTypes)
        list.append(list.empty() ? "" : ",").append(type.MimeType);
    return list;
}

} // namespace

EMSCRIPTEN_BINDINGS(quenlio) {
    using namespace emscripten;
    // A plain JS object each way, its fields by their names.
    value_object<QueryResult>("QueryResult")
        .field("DeviceModel", &QueryResult::DeviceModel)
        .field("ProductionDate", &QueryResult::ProductionDate)
        .field("SalesRegion", &QueryResult::SalesRegion)
        .field("Carrier", &QueryResult::Carrier)
        .field("Factory", &QueryResult::Factory)
        .field("AfterSalesReplacement", &QueryResult::AfterSalesReplacement);
    enum_<ModelPhoto>("ModelPhoto")
        .value("None", ModelPhoto::None)
        .value("BlackIPhone5", ModelPhoto::BlackIPhone5)
        .value("WhiteIPhone5", ModelPhoto::WhiteIPhone5)
        .value("BlackIPhone4", ModelPhoto::BlackIPhone4)
        .value("WhiteIPhone4", ModelPhoto::WhiteIPhone4);
    value_object<QueryDisplay12>("QueryDisplay12")
        .field("Result", &QueryDisplay12::Result)
        .field("FlagRed", &QueryDisplay12::FlagRed)
        .field("Photo", &QueryDisplay12::Photo);

    constant("Serial12Length", Serial12Length);
    constant("Serial11Length", Serial11Length);
    constant("PartNumberLength", PartNumberLength);
    constant("ShortestPartNumber", ShortestPartNumber);
    constant("DateLength", DateLength);
    value_object<ScanTexts>("ScanTexts")
        .field("Title", &ScanTexts::Title)
        .field("UnreadablePicture", &ScanTexts::UnreadablePicture)
        .field("Aim", &ScanTexts::Aim)
        .field("Reading", &ScanTexts::Reading)
        .field("Refused", &ScanTexts::Refused)
        .field("NoCamera", &ScanTexts::NoCamera)
        .field("Insecure", &ScanTexts::Insecure)
        .field("CameraFailed", &ScanTexts::CameraFailed)
        .field("Unavailable", &ScanTexts::Unavailable);
    const auto text = [](std::string_view t) {
        return std::string(t);
    };
    constant("ScanTexts", ScanTexts{text(ScanTitle), text(UnreadablePicture), text(ScanAim),
                                    text(ScanReadingLine), text(CameraRefused), text(NoCamera),
                                    text(CameraInsecure), text(CameraFailed), text(ScanUnavailable)});
    constant("PictureTypes", PictureTypeList());
    value_object<ScannedText>("ScannedText")
        .field("Serial", &ScannedText::Serial)
        .field("PartNumber", &ScannedText::PartNumber)
        .field("Message", &ScannedText::Message);

    function("normalizeSerial", &NormalizeSerialText);
    function("upperAscii", &UpperAsciiText);
    function("charCount", &CharCountText);
    function("charSlice", &CharSliceText);
    function("checkHalfYearCode", &CheckHalfYearCodeText);
    function("autofillPartNumber", &AutofillPartNumberText);
    function("displayQuery12", &DisplayQuery12Text);
    function("checkOldSerial", &CheckOldSerialText);
    function("serialQuery11", &SerialQuery11Text);
    function("estimateActivationDate", &EstimateActivationDateText);
    function("refurbishmentVerdict", &RefurbishmentVerdictText);
    function("readScannedCode", &ReadScannedCodeText);
}
