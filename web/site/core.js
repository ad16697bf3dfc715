// The page's one way into core (quenlio_core.wasm): every rule, table, length and text comes
// from there; this module only carries texts across.
import QuenlioCore from "./quenlio_core.js";

// A lone UTF-16 surrogate (pasted text can carry one) has no UTF-8 form, and the loader would
// join it with the character after it. It goes to core as U+FFFD, one character, as every
// browser writes it out in UTF-8.
const LoneSurrogate = /\p{Surrogate}/gu;
const clean = (value) =>
    typeof value === "string" ? value.replace(LoneSurrogate, "\uFFFD")
    : value && typeof value === "object" ? Object.fromEntries(Object.entries(value).map(([key, field]) => [key, clean(field)]))
    : value;

/**
 * Loads core: the functions and constants its bindings (web/bindings.cpp) register, every text
 * argument cleaned as above. Under Node, pass the .wasm bytes as `options.wasmBinary`.
 *   autofillPartNumber gives "" for none; displayQuery12 { Result, FlagRed, Photo }, Photo one of
 *   ModelPhoto; serialQuery11(serial, part, shown) a QueryResult; estimateActivationDate and
 *   refurbishmentVerdict null when a date cannot be read; readScannedCode(text, serialLength)
 *   { Serial, PartNumber, Message }, one of them not "".
 * @param {object} [options]
 */
export async function loadCore(options = {}) {
    const module = await QuenlioCore(options);
    const core = {};
    for (const name of Functions) core[name] = (...args) => module[name](...args.map(clean));
    for (const name of Constants) core[name] = module[name];
    return core;
}

const Functions = ["normalizeSerial", "upperAscii", "charCount", "charSlice", "checkHalfYearCode", "autofillPartNumber",
    "displayQuery12", "checkOldSerial", "serialQuery11", "estimateActivationDate", "refurbishmentVerdict", "readScannedCode"];
const Constants = ["Serial12Length", "Serial11Length", "PartNumberLength", "ShortestPartNumber", "DateLength", "ModelPhoto", "ScanTexts", "PictureTypes"];
