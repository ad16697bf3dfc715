// What the page's tests share: the site and a browser of each engine for a test file, the core in
// Node as the oracle of every decoded text, the screens and their result boxes, and the moves of a
// user (typing, pasting, tapping, answering a box) over the driver of tests/web/driver.mjs.
import { readFile } from "node:fs/promises";
import { join } from "node:path";
import assert from "node:assert/strict";
import { after, before, describe } from "node:test";

import { SiteFolder } from "./browser.mjs";
import { Engines, launch, startSite } from "./driver.mjs";

export const Screens = ["Form5", "Main", "Form3", "Form1", "Form2", "Form4"];
// The result boxes of the two query screens, by the field each shows.
export const ResultBoxes = {
    Form5: { DeviceModel: "Text3", ProductionDate: "Text4", SalesRegion: "Text5", Carrier: "Text6", Factory: "Text7", AfterSalesReplacement: "Text9" },
    Form3: { DeviceModel: "Text3", ProductionDate: "Text4", SalesRegion: "Text5", Carrier: "Text6", Factory: "Text7", AfterSalesReplacement: "Text8" },
};

let nodeCore;
/** The same core.js and wasm the page loads, in Node. */
export async function loadNodeCore() {
    if (!nodeCore) {
        const { loadCore } = await import(join(SiteFolder, "core.js"));
        nodeCore = await loadCore({ wasmBinary: await readFile(join(SiteFolder, "quenlio_core.wasm")) });
    }
    return nodeCore;
}

/**
 * Runs `body(fixture)` in a describe() of its own for each engine of Engines (or of `engines`),
 * with one site and one browser for it: fixture.{ engine, url, session, page, core } are set before
 * its tests run. `viewport` is the page's size (the phone by default).
 */
export function eachEngine(title, body, { viewport, engines = Engines, camera = null } = {}) {
    for (const engine of engines.filter((e) => Engines.includes(e)))
        describe(`${title} (${engine})`, () => {
            const fixture = { engine };
            before(async () => {
                fixture.site = await startSite();
                fixture.url = fixture.site.url;
                fixture.session = await launch(engine, { origin: fixture.site.origin, camera: camera && (await camera()) });
                fixture.page = await fixture.session.newPage(viewport);
                fixture.core = await loadNodeCore();
            });
            after(async () => {
                await fixture.session?.close();
                await fixture.site?.close();
            });
            body(fixture);
        });
}

/** Waits in Node until `check()` is truthy, polling; fails with `message` after `timeout` ms. */
export async function until(check, message, timeout = 5000) {
    for (const deadline = Date.now() + timeout; !(await check()); ) {
        if (Date.now() > deadline) assert.fail(`timed out waiting for ${message}`);
        await new Promise((done) => setTimeout(done, 20));
    }
}

export const sel = (screen, name) => `#${screen} [data-control=${name}]`;

/** Opens the page fresh at `#/screen` and waits until it is wired; boxes are counted from then on. */
export async function goTo(page, url, screen) {
    // From elsewhere, so that a mere change of the address's fragment cannot keep the old page.
    await page.goto("about:blank");
    await page.goto(`${url}#/${screen}`);
    await page.waitFor((s) => document.documentElement.hasAttribute("data-ready") && document.getElementById(s), { message: `${screen} wired` }, screen);
    await countBoxes(page);
}

/**
 * Instrumentation a test installs on a document (never the page's own): the boxes opened and closed
 * as their `open` attribute comes and goes (a `close` event waits for a frame, which a hidden page
 * may never get), and the `close` events apart, for boxesClosed().
 */
export function watchBoxes() {
    if ("boxesClosed" in window) return;
    window.boxesOpened = 0;
    window.boxesClosed = 0;
    window.closeEvents = 0;
    document.addEventListener("close", () => ++window.closeEvents, true);
    new MutationObserver((records) => {
        for (const r of records) if (r.target.localName === "dialog") r.oldValue === null ? ++window.boxesOpened : ++window.boxesClosed;
    }).observe(document, { subtree: true, attributes: true, attributeFilter: ["open"], attributeOldValue: true });
}

/** Counts the boxes of the page as it stands from now on (watchBoxes). */
export const countBoxes = (page) => page.evaluate(watchBoxes);

/**
 * Waits until the page has settled: its controls, boxes, address and focus the same over a timer
 * turn and two message turns, after any step back it asked of the history has arrived (the page
 * counts none; `watchHistory` below does). Returns that state: { hash, ready, screens, controls,
 * boxes, focus, focusScreen, opened, closed }. Works on a driver page and a puppeteer page alike.
 */
export const settle = (page) =>
    page.evaluate(async () => {
        const take = () => {
            const controls = {};
            for (const element of document.querySelectorAll("section.screen:not([inert]) [data-control]"))
                if ("value" in element && element.matches("input, textarea, button"))
                    controls[element.dataset.control] = { value: element.value, disabled: element.disabled, readOnly: element.readOnly, red: element.classList.contains("flag-red") };
            const active = document.activeElement;
            return {
                hash: location.hash,
                ready: document.documentElement.hasAttribute("data-ready"),
                screens: [...document.querySelectorAll("section.screen")].map((s) => s.id + (s.inert ? "(inert)" : "")).join(" "),
                controls,
                photos: [...document.querySelectorAll("section.screen:not([inert]) [data-photo]:not([hidden])")].map((p) => p.dataset.photo),
                boxes: [...document.querySelectorAll("dialog[open]")].map((d) => ({ id: d.id, modal: d.matches(":modal"), title: d.querySelector(".title").textContent, text: d.querySelector(".text").textContent, focusInside: d.contains(active) })),
                focus: active?.dataset?.control ?? active?.tagName,
                focusAnswer: active?.dataset?.answer ?? null,
                focusScreen: active?.closest?.("section")?.id ?? null,
                opened: window.boxesOpened ?? 0,
                closed: window.boxesClosed ?? 0,
            };
        };
        const turn = () => new Promise((done) => {
            const channel = new MessageChannel();
            channel.port1.onmessage = done;
            channel.port2.postMessage(null);
        });
        let last = JSON.stringify(take());
        for (let i = 0; i < 50; i++) {
            await window.historyArrived?.();
            await new Promise((done) => setTimeout(done, 0));
            await turn();
            await turn();
            const now = JSON.stringify(take());
            if (now === last) return JSON.parse(now);
            last = now;
        }
        throw new Error(`the page never settled: ${last}`);
    });

/**
 * Instrumentation a test installs on each document (never the page's own): lets settle() wait for
 * a step back the page asked of the history, which the browser takes later; one that has not come
 * after 3 s is an error.
 */
export function watchHistory() {
    let asked = 0, arrived = 0;
    const back = History.prototype.back;
    History.prototype.back = function () {
        ++asked;
        return back.call(this);
    };
    addEventListener("popstate", () => (arrived = asked), true);
    window.historyArrived = () =>
        arrived === asked ? null : new Promise((done, fail) => {
            const timer = setTimeout(() => fail(new Error("a step back the page asked for never came")), 3000);
            addEventListener("popstate", () => done(clearTimeout(timer)), { once: true });
        });
}

/** Control state: { value, disabled, readOnly, focused, hidden, caretAtEnd, caret }. */
export const state = (page, selector) =>
    page.evaluate((s) => {
        const element = document.querySelector(s);
        return {
            value: element.value,
            disabled: element.disabled === true,
            readOnly: element.readOnly === true,
            focused: document.activeElement === element,
            hidden: element.hidden,
            caretAtEnd: element.value === undefined || (element.selectionStart === element.value.length && element.selectionEnd === element.value.length),
            caret: element.selectionStart ?? null,
        };
    }, selector);

/** The values of `names` on `screen`, in order. */
export const values = (page, screen, ...names) =>
    page.evaluate((screen, names) => names.map((n) => document.querySelector(`#${screen} [data-control=${n}]`).value), screen, names);

/** The disabled states of `names` on `screen`, in order. */
export const disabled = (page, screen, ...names) =>
    page.evaluate((screen, names) => names.map((n) => document.querySelector(`#${screen} [data-control=${n}]`).disabled), screen, names);

/** "Form5:Text1": the screen and control that hold the focus. */
export const focusedControl = (page) =>
    page.evaluate(() => {
        const element = document.activeElement;
        return element?.closest("section")?.id + ":" + (element?.dataset.control ?? element?.tagName);
    });

/** Empties the focused box as a user does: select all, delete. */
export async function clearFocused(page) {
    await page.chord("Control", "a");
    await page.press("Backspace");
}

/** Waits for the open box and returns { id, title, text, buttons, focusInside, modal, initial }. */
export async function openBox(page) {
    return page.waitFor(() => {
        const dialog = document.querySelector("dialog[open]");
        return dialog && {
            id: dialog.id,
            title: dialog.querySelector(".title").textContent,
            text: dialog.querySelector(".text").textContent,
            buttons: [...dialog.querySelectorAll("button")].filter((b) => !b.hidden).map((b) => b.textContent),
            focusInside: dialog.contains(document.activeElement),
            modal: dialog.matches(":modal"),
            initial: dialog.querySelector("input")?.value ?? null,
        };
    }, { message: "a box to open" });
}

/** Waits until `count` more boxes than `since` have closed and had the `close` event (the scan box lets go of its camera then). */
export const boxesClosed = (page, since, count = 1) =>
    page.waitFor((n) => window.closeEvents >= n, { message: "the box to close" }, since + count);

/** Taps 确定 or 取消 of the open box, or presses Esc or Enter, and waits for it to close. */
export async function answerBox(page, how) {
    // The next box may open at once in the same element, so count closings rather than look.
    const closed = await page.evaluate(() => window.boxesClosed);
    if (how === "Escape" || how === "Enter") await page.press(how);
    else await page.tap(`dialog[open] button[data-answer=${how === "确定" ? "ok" : "cancel"}]`);
    await boxesClosed(page, closed);
}

/** Asserts one box is up with this title, text and buttons, and answers it. */
export async function expectBox(page, { title, text, buttons = ["确定"] }, how = "确定") {
    const box = await openBox(page);
    assert.deepEqual({ title: box.title, text: box.text, buttons: box.buttons }, { title, text, buttons });
    assert.ok(box.modal && box.focusInside, "the box is modal and holds the focus");
    await answerBox(page, how);
    return box;
}

export const noBoxOpen = async (page) => assert.equal(await page.evaluate(() => document.querySelectorAll("dialog[open]").length), 0);

/** The six result fields as a screen shows them, keyed by the QueryResult names. */
export const shownResults = (page, screen) =>
    page.evaluate((screen, boxes) => Object.fromEntries(Object.entries(boxes).map(([field, name]) => [field, document.querySelector(`#${screen} [data-control=${name}]`).value])), screen, ResultBoxes[screen]);

// Texts no box should choke on: ten thousand characters, emoji (a flag, a family, a skin tone),
// control characters, right-to-left marks, lone surrogates.
export const HostileTexts = ["x".repeat(10000), "ab中😀".repeat(2500), "😀👍🏽👨‍👩‍👧🇨🇳", "\u0000\u0001\t\u001b\u007f", "\u202edtdk\u200f\u202c", "\ud800", "a\udc00b"];

/**
 * Pastes each hostile text over `screen`'s serial: it stays in the form `normal` gives it, within
 * `length`; one of that length gets the serial's message `box` and is emptied. Then, after `serial`
 * typed whole, each over the part number: upper case, within its length, the query's gate as for any.
 */
export async function pasteHostileTexts(page, core, screen, { normal, length, box, serial }) {
    const [Text1, Text2] = [sel(screen, "Text1"), sel(screen, "Text2")];
    for (const text of HostileTexts) {
        await page.focus(Text1);
        await clearFocused(page);
        await page.insertText(text);
        const shown = (await state(page, Text1)).value;
        assert.ok(shown === normal(shown) && core.charCount(shown) <= length, JSON.stringify(shown));
        // None of these, at full length, passes the serial's check.
        if (core.charCount(shown) === length) {
            await expectBox(page, box);
            assert.deepEqual(await values(page, screen, "Text1"), [""]);
        }
    }
    await page.focus(Text1);
    await clearFocused(page);
    await page.type(serial);
    for (const text of HostileTexts) {
        await clearFocused(page);
        await page.insertText(text);
        const part = (await state(page, Text2)).value;
        assert.ok(part === core.upperAscii(part) && core.charCount(part) <= core.PartNumberLength, JSON.stringify(part));
        assert.deepEqual(await disabled(page, screen, "Command1"), [core.charCount(part) < core.ShortestPartNumber]);
    }
}
