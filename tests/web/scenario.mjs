// What the page's scenario tests share: the core on the Node side as the oracle of every
// decoded text, and the moves of a user (typing, pasting, tapping, answering a box).
import { readFile } from "node:fs/promises";
import { join } from "node:path";
import assert from "node:assert/strict";

import { SiteFolder } from "./browser.mjs";

let nodeCore;
/** The same core.js and wasm the page loads, in Node. */
export async function loadNodeCore() {
    if (!nodeCore) {
        const { loadCore } = await import(join(SiteFolder, "core.js"));
        nodeCore = await loadCore({ wasmBinary: await readFile(join(SiteFolder, "quenlio_core.wasm")) });
    }
    return nodeCore;
}

export const sel = (screen, name) => `#${screen} [data-control=${name}]`;

/** Opens the page at `#screen` and waits until the screen is up. */
export async function goTo(page, url, screen) {
    // From elsewhere, so that a mere change of the address's hash cannot keep the old page.
    await page.goto("about:blank");
    await page.goto(`${url}#${screen}`, { waitUntil: "load" });
    await page.waitForSelector(`html[data-ready] #${screen}`);
}

/** Control state: { value, disabled, readOnly, focused, hidden, caretAtEnd }. */
export function state(page, selector) {
    return page.$eval(selector, (element) => ({
        value: element.value,
        disabled: element.disabled === true,
        readOnly: element.readOnly === true,
        focused: document.activeElement === element,
        hidden: element.hidden,
        caretAtEnd: element.value === undefined || (element.selectionStart === element.value.length && element.selectionEnd === element.value.length),
    }));
}

export const focusedControl = (page) =>
    page.evaluate(() => {
        const element = document.activeElement;
        return element?.closest("section")?.id + ":" + (element?.dataset.control ?? element?.tagName);
    });

/** Types into whatever has the focus, key by key. */
export const typeKeys = (page, text) => page.keyboard.type(text);

/** Inserts `text` at the caret in one go, as a paste does, through the real clipboard. */
export async function paste(page, text) {
    await page.evaluate((t) => navigator.clipboard.writeText(t), text);
    await page.keyboard.down("Control");
    await page.keyboard.press("KeyV");
    await page.keyboard.up("Control");
}

/** Empties the focused box as a user does: select all, delete. */
export async function clearFocused(page) {
    await page.keyboard.down("Control");
    await page.keyboard.press("KeyA");
    await page.keyboard.up("Control");
    await page.keyboard.press("Backspace");
}

/** Waits for the open box and returns { id, title, text, buttons, focusInside, initial }. */
export async function openBox(page) {
    await page.waitForSelector("dialog[open]");
    return page.$eval("dialog[open]", (dialog) => ({
        id: dialog.id,
        title: dialog.querySelector(".title").textContent,
        text: dialog.querySelector(".text").textContent,
        buttons: [...dialog.querySelectorAll("button")].filter((b) => !b.hidden).map((b) => b.textContent),
        focusInside: dialog.contains(document.activeElement),
        modal: dialog.matches(":modal"),
        initial: dialog.querySelector("input")?.value ?? null,
    }));
}

/** Taps 确定 or 取消 of the open box, or presses Esc ("Escape"), and waits for it to close. */
export async function answerBox(page, how) {
    // The next box may open at once in the same element, so count closings rather than look.
    const closed = await page.evaluate(() => globalThis.QuenlioDialogs.closed);
    if (how === "Escape") await page.keyboard.press("Escape");
    else await page.tap(`dialog[open] button[data-answer=${how === "确定" ? "ok" : "cancel"}]`);
    await page.waitForFunction((n) => globalThis.QuenlioDialogs.closed > n, {}, closed);
}

/** Asserts one box is up with this title, text and buttons, and answers it. */
export async function expectBox(page, { title, text, buttons = ["确定"] }, how = "确定") {
    const box = await openBox(page);
    assert.deepEqual({ title: box.title, text: box.text, buttons: box.buttons }, { title, text, buttons });
    assert.ok(box.modal && box.focusInside, "the box is modal and holds the focus");
    await answerBox(page, how);
    return box;
}

export const noBoxOpen = async (page) => assert.equal(await page.$("dialog[open]"), null);

/** The six result fields as a screen shows them, keyed by the QueryResult names. */
export function shownResults(page, screen, boxes) {
    return page.evaluate(
        (screen, boxes) => Object.fromEntries(Object.entries(boxes).map(([field, name]) => [field, document.querySelector(`#${screen} [data-control=${name}]`).value])),
        screen,
        boxes,
    );
}

export const ResultFields = ["DeviceModel", "ProductionDate", "SalesRegion", "Carrier", "Factory", "AfterSalesReplacement"];
export const pick = (result) => Object.fromEntries(ResultFields.map((f) => [f, result[f]]));

// Texts no box should choke on: ten thousand characters, emoji (a flag, a family, a skin tone),
// control characters, right-to-left marks, lone surrogates.
export const HostileTexts = ["x".repeat(10000), "ab中😀".repeat(2500), "😀👍🏽👨‍👩‍👧🇨🇳", "\u0000\u0001\t\u001b\u007f", "\u202edtdk\u200f\u202c", "\ud800", "a\udc00b"];
/** The first `count` characters of `text`, an emoji one character. */
export const firstCharacters = (text, count) => Array.from(text).slice(0, count).join("");
