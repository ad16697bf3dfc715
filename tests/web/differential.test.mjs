// The wasm core the page calls against the native core, byte for byte, on the same inputs, through
// a small native driver over the same functions (tests/web/core_driver.cpp). Inputs are built from
// the tables' own codes, mixed with random and malformed text; QUENLIO_SEED repeats a run.
import assert from "node:assert/strict";
import { spawnSync } from "node:child_process";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { test } from "node:test";
import { pathToFileURL } from "node:url";

import { RepoRoot, SiteFolder } from "./browser.mjs";
import { seedFromEnvironment, seeded } from "./seeded.mjs";

const Driver = process.env.QUENLIO_CORE_DRIVER ?? join(RepoRoot, "build-web", "native", "tests", "web", "quenlio-core-driver");
const Seed = seedFromEnvironment("random");
const { next: rand, int: below, pick, chance } = seeded(Seed);

const hex = (text) => Buffer.from(text, "utf8").toString("hex");
// What the page sends for a text: its UTF-8 form, a lone surrogate as U+FFFD.
const sent = (text) => Buffer.from(text, "utf8").toString("utf8");

function runNative(input) {
    const run = spawnSync(Driver, [], { input, maxBuffer: 1 << 30 });
    assert.equal(run.status, 0, `${Driver}: ${run.error ?? run.stderr}`);
    return run.stdout.toString("utf8");
}

// The codes of the tables, read from core's sources, and the catalogue's keys from the driver.
function tableCodes() {
    const source = (name) => readFileSync(join(RepoRoot, "core", name), "utf8");
    const literals = (text, pattern) => [...text.matchAll(pattern)].map((m) => m[1]);
    const week = source("week_calendar.cpp");
    const codes = {
        halfYears: literals(week, /\{'([A-Z])', "/g),
        weeks: [...week.match(/WeekCodes = "([^"]+)"/)[1]],
        short12: literals(source("checks.cpp") + source("query12.cpp"), /"([0-9A-Z]{2,4})"/g),
        short11: literals(source("query11.cpp"), /"([0-9A-Z]{1,3})"/g),
        keys: runNative("K\n").trim().split("\n").map((h) => Buffer.from(h, "hex").toString()),
    };
    assert.equal(codes.keys.length, 375);
    assert.ok(codes.halfYears.length >= 5 && codes.weeks.length >= 26, "week codes not found in the source");
    assert.ok(codes.short12.length >= 15 && codes.short11.length >= 40, "table codes not found in the source");
    return codes;
}

const Alphanumeric = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz";
// Characters a phone keyboard or a paste can bring: controls, CJK, full-width letters, marks,
// emoji (two UTF-16 units), lone surrogates, the letter O in every form.
const Odd = [
    "\0", "\t", "\n", "\r", "\x1b", "\x7f", " ", ",", "\"", "#", "=", "+", "-", "@", "'", "/", ".", "年", "月",
    "日", "中", "黑", "色", "ｏ", "Ｏ", "０", "ß", "é", "\u0301", "\u200f", "\u202e", "\ufeff", "\u00a0",
    "\u3000", "😀", "👍🏽", "\ud83d", "\ude00", "\udbff", "o", "O", "\u{10ffff}", "\ufffd",
];
const alnum = () => Alphanumeric[below(Alphanumeric.length)];
const anyChar = () => (chance(0.6) ? alnum() : pick(Odd));
const randomText = (max) => Array.from({ length: below(max + 1) }, anyChar).join("");
const mixCase = (text) => [...text].map((c) => (chance(0.3) ? c.toLowerCase() : c)).join("");
// Now and then one character of a code is swapped for any other.
const spoil = (text) => {
    if (!chance(0.15)) return text;
    const chars = [...text];
    chars[below(chars.length)] = anyChar();
    return chars.join("");
};
const piece = (codes, length) => spoil(chance(0.75) ? pick(codes) : Array.from({ length }, alnum).join(""));

function serial12(codes) {
    const lead = codes.short12.filter((c) => c.length <= 3);
    const start = piece(lead, 3).padEnd(3, "X").slice(0, 3);
    const half = chance(0.85) ? pick(codes.halfYears) : anyChar();
    const week = chance(0.85) ? pick(codes.weeks) : anyChar();
    const model = piece(codes.short12.filter((c) => c.length === 4), 4);
    return mixCase(start + half + week + Array.from({ length: 3 }, alnum).join("") + model);
}

function serial11(codes) {
    const prefixes = codes.short11.filter((c) => c.length === 2 && /^\d/.test(c));
    const models = codes.short11.filter((c) => c.length === 3);
    const year = chance(0.8) ? pick("789012") : anyChar();
    const week = chance(0.8) ? String(below(60)).padStart(2, "0") : anyChar() + anyChar();
    return mixCase(piece(prefixes, 2) + year + week + Array.from({ length: 3 }, alnum).join("") + piece(models, 3));
}

function partNumber(codes) {
    const roll = rand();
    if (roll < 0.6) return mixCase(spoil(pick(codes.keys)));
    if (roll < 0.8) {
        const regions = codes.short11.filter((c) => /^[A-Z]{1,2}$/.test(c));
        return mixCase("M" + alnum() + String(below(1000)).padStart(3, "0") + pick(regions));
    }
    if (roll < 0.9) return "";
    return randomText(9);
}

// A date text: well formed in the forms core reads, or near them.
function dateText() {
    const year = chance(0.8) ? 2000 + below(30) : 1 + below(9999);
    const month = chance(0.95) ? 1 + below(12) : below(20);
    const day = chance(0.95) ? 1 + below(31) : below(40);
    const pad = (n, w) => (chance(0.8) ? String(n).padStart(w, "0") : String(n));
    const [a, b] = pick([["-", "-"], ["/", "/"], [".", "."], ["年", "月"], ["-", "/"], ["", ""]]);
    let text = pad(year, 4) + a + pad(month, 2) + b + pad(day, 2) + (a === "年" ? "日" : "");
    if (chance(0.1)) text = " " + text + " ";
    if (chance(0.1)) text += " " + below(24) + ":" + pad(below(60), 2);
    if (chance(0.05)) text = spoil(text);
    return chance(0.05) ? randomText(14) : text;
}

// A calendar date `days` after `from` ("yyyy-mm-dd"), written the same way.
function addDays(from, days) {
    const [y, m, d] = from.split("-").map(Number);
    const date = new Date(0);
    date.setUTCFullYear(y, m - 1, d + days);
    const year = date.getUTCFullYear();
    if (year < 1 || year > 9999) return from;
    const two = (n) => String(n).padStart(2, "0");
    return `${String(year).padStart(4, "0")}-${two(date.getUTCMonth() + 1)}-${two(date.getUTCDate())}`;
}

test(`the wasm core answers as the native core (seed ${Seed})`, async (t) => {
    const { loadCore } = await import(pathToFileURL(join(SiteFolder, "core.js")));
    const core = await loadCore({ wasmBinary: readFileSync(join(SiteFolder, "quenlio_core.wasm")) });
    const codes = tableCodes();
    const mismatches = [];
    const report = (what, input, wasm, native) => {
        if (mismatches.length < 10) mismatches.push({ what, input, wasm, native });
    };

    // Texts of any content, the tables' codes, shown fields and dates.
    const requests = [];
    const ask = (what, input, wasm, op, ...args) => requests.push({ what, input, wasm, line: [op, ...args.map(hex)].join("\t") });
    const flag = (yes) => (yes ? "1" : "0");
    const none = (text) => (text === null ? "-" : hex(text));
    const estimates = [];
    for (let i = 0; i < 20000; i++) {
        const text = chance(0.5) ? randomText(chance(0.05) ? 300 : 16) : chance(0.5) ? serial12(codes) : serial11(codes);
        ask("normalizeSerial", text, hex(core.normalizeSerial(text)), "N", text);
        ask("upperAscii", text, hex(core.upperAscii(text)), "U", text);
        ask("charCount", text, String(core.charCount(text)), "C", text);
        ask("checkHalfYearCode", text, flag(core.checkHalfYearCode(text)), "H", text);
        ask("autofillPartNumber", text, hex(core.autofillPartNumber(text)), "A", text);
        ask("checkOldSerial", text, flag(core.checkOldSerial(text)), "O", text);
        const [first, count] = [below(20), below(20)];
        ask("charSlice", { text, first, count }, hex(core.charSlice(text, first, count)), "S", text, String(first), String(count));
    }
    // Every catalogue key in both cases, then serials and part numbers of every kind.
    const query12 = (serial, part) => {
        const { Result, FlagRed, Photo } = core.displayQuery12(serial, part);
        ask("displayQuery12", { serial, part }, [...Object.values(Result).map(hex), flag(FlagRed), Photo.value].join("\t"), "Q12", serial, part);
        return Result;
    };
    const keyModels = codes.keys.flatMap((key) => [key, key.toLowerCase()]).map((part) => query12(serial12(codes), part).DeviceModel);
    for (let i = 0; i < 15000; i++) query12(chance(0.3) ? randomText(14) : serial12(codes), chance(0.3) ? randomText(9) : partNumber(codes));
    // The fields as core names them, in its order.
    const fields = Object.keys(core.serialQuery11("", "", core.displayQuery12("", "").Result));
    for (let i = 0; i < 15000; i++) {
        const serial = chance(0.3) ? randomText(13) : serial11(codes);
        const part = chance(0.3) ? randomText(9) : partNumber(codes);
        const shown = Object.fromEntries(fields.map((name) => [name, chance(0.5) ? "" : randomText(8)]));
        const r = core.serialQuery11(serial, part, shown);
        ask("serialQuery11", { serial, part, shown }, Object.values(r).map(hex).join("\t"),
            "Q11", serial, part, ...Object.values(shown).map(sent));
    }
    for (let i = 0; i < 15000; i++) {
        const text = dateText();
        const estimate = core.estimateActivationDate(text);
        if (estimate !== null) estimates.push(estimate);
        ask("estimateActivationDate", text, none(estimate), "E", text);
    }
    for (let i = 0; i < 15000; i++) {
        const activation = estimates.length > 0 && chance(0.9) ? pick(estimates) : dateText();
        const span = pick([5, 200, 400, 40000]);
        const purchase = chance(0.8) && /^\d{4}-\d\d-\d\d$/.test(activation)
            ? addDays(activation, below(2 * span) - span / 2)
            : dateText();
        const serial = chance(0.3) ? pick(codes.short12.filter((c) => c.length === 3)) + "J01ABCDEFG" : serial12(codes);
        const verdict = core.refurbishmentVerdict(activation, purchase, mixCase(serial));
        ask("refurbishmentVerdict", { activation, purchase, serial }, none(verdict), "V", activation, purchase, mixCase(serial));
    }
    const answers = runNative(requests.map((r) => r.line + "\n").join("")).split("\n");
    assert.equal(answers.length, requests.length + 1, "one answer per request");
    requests.forEach((r, i) => {
        if (r.wasm !== answers[i]) report(r.what, r.input, r.wasm, answers[i]);
    });

    t.diagnostic(`${requests.length} rows compared, seed ${Seed}`);
    assert.deepEqual(mismatches, [], `the two cores differ (QUENLIO_SEED=${Seed})`);
    assert.ok(requests.length >= 100000);
    // The rows reach what they are meant to: every key finds its model, most date texts are dates.
    assert.ok(keyModels.every(Boolean), "a catalogue key without its model");
    assert.ok(estimates.length > 5000, "most date texts are dates");
});
