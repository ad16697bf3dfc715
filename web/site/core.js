// The page's one way into core (quenlio_core.wasm): plain functions, texts in and texts out.
// Every rule, table and text comes from core; this module only carries texts across.
import QuenlioCore from "./quenlio_core.js";

// A lone UTF-16 surrogate (pasted text can carry one) has no UTF-8 form, and the loader would
// join it with the character after it. It goes to core as U+FFFD, one character, as every
// browser writes it out in UTF-8.
const LoneSurrogate = /\p{Surrogate}/gu;
const text = (value) => String(value ?? "").replace(LoneSurrogate, "\uFFFD");

/**
 * Loads core. `options` go to the loader: under Node, pass the .wasm bytes as `wasmBinary`.
 * @param {object} [options]
 */
export async function loadCore(options = {}) {
    const core = await QuenlioCore(options);
    return {
        /** @returns {string} */
        normalizeSerial: (t) => core.normalizeSerial(text(t)),
        /** @returns {string} */
        upperAscii: (t) => core.upperAscii(text(t)),
        /** @returns {number} */
        charCount: (t) => core.charCount(text(t)),
        /** @returns {boolean} */
        checkHalfYearCode: (serial) => core.checkHalfYearCode(text(serial)),
        /** @returns {string} "" when the serial names no part number */
        autofillPartNumber: (serial) => core.autofillPartNumber(text(serial)),
        /** The six fields, `replacement` (the flag shown red) and `photo` (a picture name or ""). */
        serialQuery12: (serial, part) => core.serialQuery12(text(serial), text(part)),
        /** @returns {boolean} */
        checkOldSerial: (serial) => core.checkOldSerial(text(serial)),
        /** The six fields; those without a match keep what `shown` holds. */
        serialQuery11: (serial, part, shown) => core.serialQuery11(text(serial), text(part), shownFields(shown)),
        /** @returns {string | null} null when the text is no date */
        estimateActivationDate: (t) => core.estimateActivationDate(text(t)),
        /** @returns {string | null} null when either date cannot be read */
        refurbishmentVerdict: (activation, purchase, serial) =>
            core.refurbishmentVerdict(text(activation), text(purchase), text(serial)),
    };
}

const ResultFields = ["DeviceModel", "ProductionDate", "SalesRegion", "Carrier", "Factory", "AfterSalesReplacement"];

function shownFields(shown) {
    const out = {};
    for (const name of ResultFields) out[name] = text(shown?.[name]);
    return out;
}
