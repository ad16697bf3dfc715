// Both query screens driven by long runs of random user events in the browser: keys, pastes of
// hostile texts, an input method's composition, taps on every control, focus moves, the browser's
// Back and a reload, and the boxes answered however they come up. After every event the page is
// left to settle and its gates are checked against its boxes. The run is drawn from a seed, the
// same one each time unless QUENLIO_SEED names another (a number replays that run; "random" draws
// a fresh one, to look for new faults); QUENLIO_EVENTS sets the number of events per screen.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";

import { Phone, openPage, startSiteAndBrowser } from "./browser.mjs";
import * as links from "../../build-web/site/links.js";
import { Texts } from "../../web/site/texts.js";
import { HostileTexts, goTo, loadNodeCore } from "./scenario.mjs";

const EventsPerScreen = Number(process.env.QUENLIO_EVENTS ?? 10000);
const SeedSetting = process.env.QUENLIO_SEED ?? "20261208";
const Seed = SeedSetting === "random" ? (Math.random() * 2 ** 32) >>> 0 : Number(SeedSetting) >>> 0;

/** mulberry32: a small PRNG whose whole state is one 32-bit number. */
function random(seed) {
    let a = seed >>> 0;
    const next = () => {
        a = (a + 0x6d2b79f5) >>> 0;
        let t = a;
        t = Math.imul(t ^ (t >>> 15), t | 1);
        t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
        return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
    };
    const int = (n) => Math.floor(next() * n);
    return { next, int, pick: (list) => list[int(list.length)], chance: (p) => next() < p };
}

// Texts worth pasting: good and bad serials, part numbers and dates, so that the runs reach
// every gate, and texts no box should choke on.
const Serials12 = ["dnph7abcdtdk", "c7gk1abc1234", "DNPH7ABCDTF9", "f2lhk0abdtdr", "dqgj3xyzdtfc", "C3KG1ABCDTFH", "dnpl7abc1234", "dnpa7abc1234", "DN0H7ABCDTDK", "dnph7abc"];
const Serials11 = ["88923abc8m9", "5k013abcxyz", "88323ABC8M9", "61905abcvr0", "95o12abca4s", "88963abc8m9", "8892", "79912ABCEOO"];
const PartNumbers = ["md297ch", "MD269LL", "md128j", "MB496LL", "mc603ch", "md128zz", "md12", "MD239CH"];
const Dates = ["2013-11-11", "2013-02-28", "2012-12-20", "2013-01-01", "20121220", "2013-13-45", "2013/11/11", "2013年11月11日", "9999-99-99xx"];
const Hostile = [
    ...HostileTexts,
    "\u0085\u2028\u2029",
    "e\u0301o\u0308",
    "\u200b\ufeff\u00ad",
    "DNPH\n7ABC\r\nDTDK",
    "ＤＮＰＨ７ＡＢＣＤＴＤＫ",
    "ßﬁİıǅ",
    "<img src=x onerror=alert(1)>",
    "' OR 1=1 --",
    "%00%s%n",
    "",
];
const PasteTexts = [...Serials12, ...Serials11, ...PartNumbers, ...Dates, ...Hostile];
const Keys = [..."abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789oOoO-", "Backspace", "Backspace", "Backspace", "Delete", "Enter", "Tab", "ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "Home", "End", "Space"];
const Chinese = [..."中文序列号型号查询苹果"];

// What a box may show while it is up, by its title.
const BoxTexts = new Map([
    [Texts.HalfYearTitle, [Texts.HalfYearMessage]],
    [Texts.OldSerialTitle, [Texts.OldSerialMessage]],
    [Texts.WarrantyTitle, [Texts.WarrantyQuestion]],
    [Texts.WarrantyPasteTitle, [Texts.WarrantyPasteHint]],
    [Texts.DateTitle, [Texts.DateMessage]],
    [Texts.ActivationFirstTitle, [Texts.ActivationFirstMessage]],
    [Texts.PurchaseTitle, [Texts.PurchasePrompt]],
]);

const shorten = (text) => JSON.stringify(text.length > 40 ? `${text.slice(0, 20)}…(${text.length})` : text);

/**
 * The page once it has settled: nothing changed over a timer turn and a few message turns.
 * Everything the checks read comes back in one round trip.
 */
function snapshot(screen) {
    const take = () => {
        const view = document.getElementById(screen);
        const controls = {};
        for (const element of view?.querySelectorAll("input[data-control], button[data-control]") ?? [])
            controls[element.dataset.control] = { value: element.value, disabled: element.disabled, readOnly: element.readOnly, red: element.classList.contains("flag-red") };
        const open = [...document.querySelectorAll("dialog[open]")];
        const active = document.activeElement;
        return {
            ready: document.documentElement.hasAttribute("data-ready"),
            hash: location.hash,
            screens: [...document.querySelectorAll("section.screen")].map((s) => s.id + (s.inert ? "(inert)" : "")).join(" "),
            controls,
            photos: [...(view?.querySelectorAll("[data-photo]") ?? [])].filter((p) => !p.hidden).map((p) => p.dataset.photo),
            boxes: open.map((d) => ({ id: d.id, modal: d.matches(":modal"), title: d.querySelector(".title").textContent, text: d.querySelector(".text").textContent, focusInside: d.contains(active) })),
            shown: globalThis.QuenlioDialogs?.shown.length ?? 0,
            closed: globalThis.QuenlioDialogs?.closed ?? 0,
            focus: active?.dataset?.control ?? active?.tagName,
            focusInView: !!view?.contains(active),
        };
    };
    // Where each control of the screen and each button of a box is tapped, while in sight.
    const points = () => {
        const view = document.getElementById(screen);
        const points = {};
        for (const element of [...(view?.querySelectorAll("[data-control]") ?? []), ...document.querySelectorAll("dialog[open] button")]) {
            const box = element.getBoundingClientRect();
            if (box.width && box.height && box.top >= 0 && box.bottom <= innerHeight)
                points[element.dataset.control ?? `dialog ${element.dataset.answer}`] = [box.x + box.width / 2, box.y + box.height / 2];
        }
        return points;
    };
    const turn = () => new Promise((done) => {
        const channel = new MessageChannel();
        channel.port1.onmessage = done;
        channel.port2.postMessage(null);
    });
    return (async () => {
        let last = JSON.stringify(take());
        for (let i = 0; i < 50; i++) {
            // A step back the page asked for arrives when the browser gets round to it.
            await globalThis.QuenlioBackArrived?.();
            await new Promise((done) => setTimeout(done, 0));
            await turn();
            await turn();
            const now = JSON.stringify(take());
            if (now === last) break;
            last = now;
        }
        return { ...JSON.parse(last), points: points() };
    })();
}

let site, page, errors, core, cdp;
before(async () => {
    site = await startSiteAndBrowser();
    await site.session.browser.defaultBrowserContext().overridePermissions(new URL(site.url).origin, ["clipboard-read", "clipboard-write", "clipboard-sanitized-write"]);
    // The phone's layout at one device pixel per CSS pixel, the whole of Form5 in sight: the same
    // page, drawn nine times faster and tapped without scrolling.
    ({ page, errors } = await openPage(site.session, site.url, { ...Phone, height: 1100, deviceScaleFactor: 1 }));
    // history.back() only asks the browser for the step, which comes later as a popstate: the
    // checks wait for it, else they see the screen left and the next tap lands on the menu.
    const watchBack = () => {
        let asked = 0, arrived = 0;
        const back = History.prototype.back;
        History.prototype.back = function () {
            ++asked;
            return back.call(this);
        };
        addEventListener("popstate", () => (arrived = asked), true);
        globalThis.QuenlioBackArrived = () =>
            arrived === asked ? null : new Promise((done) => {
                const timer = setTimeout(() => done((arrived = asked)), 3000);
                addEventListener("popstate", () => done(clearTimeout(timer)), { once: true });
            });
    };
    await page.evaluateOnNewDocument(watchBack);
    await page.evaluate(watchBack);
    cdp = await page.createCDPSession();
    core = await loadNodeCore();
});
after(() => site?.close());

const count = (text) => core.charCount(text);

// The input goes to the browser as fast as it takes it, every event sent before the first is
// handled, as a user typing faster than the page draws.
const send = (method, params) => cdp.send(method, params);
const press = (key) => Promise.all([page.keyboard.down(key), page.keyboard.up(key)]);
const typeFast = (text) => Promise.all(Array.from(text, (c) => (c >= " " && c <= "~" ? press(c) : page.keyboard.sendCharacter(c))));
const withKey = (modifier, key) => Promise.all([page.keyboard.down(modifier), press(key), page.keyboard.up(modifier)]);
async function pasteFast(text) {
    // Only a page in front may write the clipboard; a tab that just opened may still hold it.
    const write = () => page.evaluate((t) => navigator.clipboard.writeText(t), text);
    await write().catch(async () => {
        await page.bringToFront();
        // Shift+Tab can take the focus out of the page into the browser's own controls, where the
        // page may not write the clipboard: then it writes it as if it had the focus.
        await write().catch(async () => {
            await send("Emulation.setFocusEmulationEnabled", { enabled: true });
            try {
                await write();
            } finally {
                await send("Emulation.setFocusEmulationEnabled", { enabled: false });
            }
        });
    });
    await withKey("Control", "KeyV");
}

/**
 * Taps `name` (a control of the screen, or "dialog ok" / "dialog cancel") where `now` saw it,
 * else scrolled into view; with `mouse`, clicks it instead (a touch takes a whole frame).
 * Returns the answer ("ok" / "cancel") of the box button at that spot, if there is one.
 */
async function tap(now, screen, name, mouse = false) {
    let point = now.points[name];
    if (!point) {
        point = await page.evaluate((s) => {
            const element = document.querySelector(s);
            if (!element || element.hidden) return null;
            element.scrollIntoView({ block: "nearest" });
            const box = element.getBoundingClientRect();
            return box.width && box.height ? [box.x + box.width / 2, box.y + box.height / 2] : null;
        }, name.startsWith("dialog ") ? `dialog[open] [data-answer=${name.slice(7)}]` : `#${screen} [data-control=${name}]`);
        if (!point) return null;
    }
    // With a box up, a control's spot on the screen below may be where one of its buttons is.
    const hit = now.boxes.length
        ? await page.evaluate(([x, y]) => document.elementFromPoint(x, y)?.closest("dialog[open] button")?.dataset.answer ?? null, point)
        : null;
    if (mouse) {
        await page.mouse.click(...point);
        return hit;
    }
    const touch = { x: Math.round(point[0]), y: Math.round(point[1]), radiusX: 0.5, radiusY: 0.5, force: 0.5, id: 0 };
    await Promise.all([send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [touch] }), send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] })]);
    return hit;
}

/**
 * Runs `EventsPerScreen` random events on `screen`. `rules` gives its controls, how to open it
 * fresh from the menu, and `check(previous, now, event, model)` for its own gates.
 */
async function run(screen, rules) {
    const rng = random(Seed ^ rules.salt);
    const recent = [];
    const fail = (message) =>
        assert.fail(`${message}\n  seed ${Seed} (replay with QUENLIO_SEED=${Seed}), ${screen}, after event ${recent.length ? recent.at(-1).n : 0}\n  last events:\n    ${recent.slice(-25).map((e) => `#${e.n} ${e.what}`).join("\n    ")}`);
    const expect = (condition, message) => condition || fail(message);

    await page.bringToFront();
    await goTo(page, site.url, screen);
    let model = rules.fresh();
    let now = await page.evaluate(snapshot, screen);
    const popups = () => site.session.external.length;
    const started = Date.now();
    let dialogs = 0, navigations = 0, queries = 0;
    const titles = {};

    let what;
    for (let n = 1; n <= EventsPerScreen; n++) {
        try {
            const previous = now;
            const box = previous.boxes[0];
            what = undefined;
            const popupsBefore = popups();
            let popupExpected = false;
            const r = rng.next();
            if (box && rng.chance(0.8)) {
                // Answer the box that is up, one way or another.
                const how = rng.pick(box.id === "InputBox" ? ["ok", "cancel", "Escape", "Enter", "type", "paste"] : box.title === Texts.WarrantyTitle ? ["ok", "cancel", "Escape", "Enter"] : ["ok", "Escape", "Enter", "ok"]);
                what = `box "${box.title}": ${how}`;
                if (how === "ok" || how === "cancel") await tap(previous, screen, `dialog ${how}`, rng.chance(0.7));
                else if (how === "type") await typeFast(rng.pick(Dates));
                else if (how === "paste") {
                    await withKey("Control", "KeyA");
                    await pasteFast(rng.pick([...Dates, ...Hostile]));
                } else await press(how);
                // Enter presses 确定 only while the box holds the focus (Tab may have taken it out of the page).
                popupExpected = box.title === Texts.WarrantyTitle && (how === "ok" || (how === "Enter" && box.focusInside));
            } else if (r < 0.25) {
                const key = rng.pick(Keys);
                what = `key ${key}`;
                await press(key === "Space" ? " " : key);
                popupExpected = rules.opensPopup?.(previous.focus, previous) && (key === "Enter" || key === "Space");
            } else if (r < 0.37) {
                // Key by key, so no more than a line of it.
                const text = rng.pick([...(rules.typed[previous.focus] ?? []), rng.pick(Chinese), rng.pick(Keys.slice(0, 60))].filter((t) => t.length <= 40));
                what = `type ${JSON.stringify(text)}`;
                await typeFast(text);
            } else if (r < 0.41) {
                // A composition of the input method, then the character it commits.
                const character = rng.pick(Chinese);
                what = `compose ${character}`;
                await send("Input.imeSetComposition", { text: "zhong", selectionStart: 5, selectionEnd: 5 });
                if (rng.chance(0.2)) await page.evaluate(snapshot, screen);
                await send("Input.insertText", { text: character });
            } else if (r < 0.58) {
                // Mostly what the focused box is for, which then mostly replaces what it holds
                // (so a date reaches 激活查询 whole), else anything.
                const meant = rng.chance(0.6);
                const text = rng.pick(meant ? rules.typed[previous.focus] ?? PasteTexts : PasteTexts);
                what = `paste ${shorten(text)}`;
                if (rng.chance(meant ? 0.6 : 0.15)) await withKey("Control", "KeyA");
                await pasteFast(text);
            } else if (r < 0.88) {
                const name = rng.pick(rules.taps);
                const mouse = rng.chance(0.7);
                what = `${mouse ? "click" : "tap"} ${name}`;
                // A touch soon after another near it makes a double tap, which is one press: a
                // touch opens at most one tab, a click exactly one.
                const hit = await tap(previous, screen, name, mouse);
                const opens = hit ? hit === "ok" && box.title === Texts.WarrantyTitle : rules.opensPopup?.(name, previous) ?? false;
                popupExpected = opens && (mouse ? true : "maybe");
            } else if (r < 0.945) {
                // Nothing moves the focus out of a box but its answer: with one up, focus() on the
                // screen's inert controls stays a user's try, blur() would not be.
                const name = rng.pick(rules.focusable) ?? (box ? "Text1" : null);
                what = name ? `focus ${name}` : "blur";
                await page.evaluate((s, name) => (name ? document.querySelector(`#${s} [data-control=${name}]`).focus() : document.activeElement?.blur()), screen, name);
            } else if (r < 0.97) {
                what = "Shift+Tab";
                await withKey("Shift", "Tab");
            } else if (r < 0.9975) {
                what = "select all";
                await withKey("Control", "KeyA");
            } else if (r < 0.9992) {
                what = "Back";
                await page.goBack();
            } else {
                what = "reload";
                await page.reload({ waitUntil: "load" });
                await page.waitForSelector("html[data-ready]");
                model = rules.fresh();
            }
            recent.push({ n, what });
            if (recent.length > 50) recent.splice(0, recent.length - 25);

            if (popupExpected) {
                // The new tab is recorded and closed by the session; the user comes back to the page.
                const deadline = Date.now() + (popupExpected === "maybe" ? 500 : 3000);
                while (popups() === popupsBefore && Date.now() < deadline) await new Promise((done) => setTimeout(done, 10));
                const opened = popups() - popupsBefore;
                expect(opened === 1 || (popupExpected === "maybe" && opened === 0), `one new tab expected, ${opened} opened`);
                await page.bringToFront();
            }
            now = await page.evaluate(snapshot, screen);
            if (!popupExpected) expect(popups() === popupsBefore, `a new tab opened: ${site.session.external.slice(popupsBefore)}`);

            // Away from the screen: back to it, fresh from the menu, or as it was from over another.
            // A box still up there is closed first.
            while (now.hash !== `#${screen}` || !now.ready || now.boxes.length && now.screens !== screen) {
                ++navigations;
                expect(navigations < EventsPerScreen, "the page never came back to the screen");
                if (!now.ready) {
                    await page.waitForSelector("html[data-ready]");
                    model = rules.fresh();
                } else if (now.boxes.length) {
                    recent.push({ n, what: `box "${now.boxes[0].title}" up over ${now.screens}: Escape` });
                    await press("Escape");
                } else if (now.hash === "#Main") {
                    // A tap soon after another on the same spot is the second of a double tap,
                    // which the picture takes as no press: then it is tapped again.
                    const how = rng.pick(["tap", "click", "Forward"]);
                    recent.push({ n, what: `${how} Main ${rules.menuPicture}` });
                    if (how === "Forward") await page.goForward();
                    else await tap(now, "Main", rules.menuPicture, how === "click");
                    if (await page.waitForSelector(`html[data-ready] #${screen}`, { timeout: 2000 }).catch(() => null)) model = rules.fresh();
                } else if (now.hash === `#Form4`) {
                    expect(now.screens === `${screen}(inert) Form4`, `Form4 over ${screen}: ${now.screens}`);
                    const how = rng.pick(["tap", "click", "Back"]);
                    recent.push({ n, what: `${how} Form4` });
                    if (how === "Back") await page.goBack();
                    else if (how === "tap") await page.tap("#Form4 button.close");
                    else await page.click("#Form4 button.close");
                    const closed = await page.waitForFunction((s) => location.hash === `#${s}` && !document.getElementById("Form4"), { timeout: 2000 }, screen).catch(() => null);
                    const back = await page.evaluate(snapshot, screen);
                    if (closed) for (const name of ["Text1", "Text2"]) expect(back.controls[name].value === now.controls[name].value, `${name} changed under Form4`);
                } else {
                    fail(`unexpected screen ${now.hash}: ${now.screens}`);
                }
                now = await page.evaluate(snapshot, screen);
                recent.push({ n, what: `→ at ${now.hash}` });
            }

            // One box at most, modal, holding the focus, with a known title and text; every box
            // shown but the one up has been closed.
            expect(now.boxes.length <= 1, `${now.boxes.length} boxes open at once`);
            expect(now.screens === screen, `the screens shown: ${now.screens}`);
            expect(now.shown - now.closed === now.boxes.length, `${now.shown} boxes shown, ${now.closed} closed, ${now.boxes.length} open`);
            if (now.boxes.length) {
                const [open] = now.boxes;
                // Tab may take the focus out of the page, as from any modal dialog, but never under the box.
                expect(open.modal && (open.focusInside || now.focus === "BODY"), `the box "${open.title}" is modal and holds the focus, not ${now.focus}`);
                expect(open.title === Texts.VerdictTitle || BoxTexts.get(open.title)?.includes(open.text), `an unknown box: ${open.title} / ${open.text}`);
                if (now.shown > previous.shown) titles[open.title] = (titles[open.title] ?? 0) + 1;
            }
            dialogs += Math.max(now.shown - previous.shown, 0);
            if (rules.check(previous, now, what, model, expect)) ++queries;
        } catch (error) {
            if (error instanceof assert.AssertionError) throw error;
            recent.push({ n, what: `${what} …` });
            fail(`${error.message ?? error}`);
        }
    }
    const seconds = (Date.now() - started) / 1000;
    console.log(`${screen}: ${EventsPerScreen} events in ${seconds.toFixed(1)} s (seed ${Seed}): ${dialogs} boxes ${JSON.stringify(titles)}, ${queries} queries, ${navigations} returns`);
    assert.deepEqual(errors, [], `seed ${Seed}`);
    const allowed = new Set([links.ShopPage, links.WarrantyLookupPage]);
    assert.deepEqual(site.session.external.filter((address) => !allowed.has(address)), [], `seed ${Seed}`);
}

// The result boxes of the two screens, keyed by the field they show.
const Results5 = { DeviceModel: "Text3", ProductionDate: "Text4", SalesRegion: "Text5", Carrier: "Text6", Factory: "Text7" };
const Results3 = { DeviceModel: "Text3", ProductionDate: "Text4", SalesRegion: "Text5", Carrier: "Text6", Factory: "Text7", AfterSalesReplacement: "Text8" };
const empty = (fields) => Object.fromEntries(Object.keys(fields).map((f) => [f, ""]));
const shown = (now, fields) => Object.fromEntries(Object.entries(fields).map(([f, name]) => [f, now.controls[name].value]));
// Whether the event could have pressed the query button: a tap on it, or Enter in the part number.
// A tap or click on 查询, Enter in the part number, or Enter or Space on 查询 itself.
const pressedQuery = (previous, event) =>
    !previous.boxes.length && !previous.controls.Command1.disabled &&
    (/^(tap|click) Command1$/.test(event) || (event === "key Enter" && previous.focus === "Text2") || (/^key (Enter|Space)$/.test(event) && previous.focus === "Command1"));

test("Form5 under random events: the gates always agree with the boxes", { timeout: 600_000 }, async () => {
    await run("Form5", {
        salt: 0x5f5,
        menuPicture: "Image2",
        typed: { Text1: Serials12, Text2: PartNumbers, Text8: Dates, Text9: Hostile },
        taps: ["Text1", "Text2", "Command1", "Command1", "Command1", "Command2", "Text3", "Text5", "Text9", "Image1", "Image3", "Image4", "Image5", "Image2", "Text8", "Command3", "Command3", "Command6", "Command6", "Command7", "Command7", "Text11", "Label9", "Frame2", "Label1"],
        focusable: ["Text1", "Text2", "Text8", "Text9", "Command1", "Command2", null],
        opensPopup: (name, previous) => name === "Image2" && !previous.boxes.length,
        fresh: () => ({ results: empty(Results5) }),
        check(previous, now, event, model, expect) {
            const c = now.controls;
            const serial = c.Text1.value, part = c.Text2.value, date = c.Text8.value;
            expect(core.normalizeSerial(serial) === serial && count(serial) <= 12, `the serial ${JSON.stringify(serial)} is not in its form`);
            expect(core.upperAscii(part) === part && count(part) <= 7, `the part number ${JSON.stringify(part)} is not in its form`);
            const complete = count(serial) === 12;
            expect(c.Text2.disabled === !complete, `Text2 ${c.Text2.disabled ? "disabled" : "enabled"} with a serial of ${count(serial)}`);
            expect(complete || part === "", "an incomplete serial left a part number");
            if (!now.boxes.length && complete) expect(core.checkHalfYearCode(serial), `the serial ${serial} stands with a wrong half-year code`);
            expect(c.Command1.disabled === (c.Text2.disabled || count(part) < 6), `Command1 ${c.Command1.disabled ? "disabled" : "enabled"} with the part number ${JSON.stringify(part)}`);
            expect(!c.Command3.disabled ? !c.Command1.disabled : true, "Command3 enabled without Command1");
            // The query opens the result boxes and the warranty date together, for good.
            const queried = !c.Text3.disabled;
            for (const name of ["Text4", "Text5", "Text6", "Text7", "Text8"]) expect(c[name].disabled === !queried, `${name} and Text3 differ in state`);
            for (const name of ["Text3", "Text4", "Text5", "Text6", "Text7", "Text11"]) expect(c[name].readOnly, `${name} editable`);
            expect(!c.Text9.disabled, "Text9 disabled");
            expect(queried || (c.Command3.disabled && date === "" && now.photos.length === 0), "the warranty controls or a photo before any query");
            expect(c.Command6.disabled === count(date) < 10, `Command6 ${c.Command6.disabled ? "disabled" : "enabled"} with the date ${JSON.stringify(date)}`);
            expect(c.Text11.disabled === c.Command7.disabled, "Text11 and Command7 differ in state");
            expect(c.Text11.value === "" || (!c.Text11.disabled && /^\d{4}-\d{2}-\d{2}$/.test(c.Text11.value)), `the activation date ${JSON.stringify(c.Text11.value)}`);
            expect(now.photos.length <= 1, `photos ${now.photos}`);
            if (pressedQuery(previous, event)) {
                const expected = core.serialQuery12(previous.controls.Text1.value, previous.controls.Text2.value);
                model.results = Object.fromEntries(Object.keys(Results5).map((f) => [f, expected[f]]));
                expect(c.Text9.value === expected.AfterSalesReplacement && c.Text9.red === expected.replacement, `the flag ${c.Text9.value}`);
                expect(now.photos.join() === (expected.photo ? expected.photo : ""), `photo ${now.photos} for ${expected.photo}`);
                expect(date === "" && c.Text11.value === "" && c.Command6.disabled, "a query left a date");
            }
            expect(JSON.stringify(shown(now, Results5)) === JSON.stringify(model.results), `results ${JSON.stringify(shown(now, Results5))}, the last query gave ${JSON.stringify(model.results)}`);
            return pressedQuery(previous, event);
        },
    });
});

test("Form3 under random events: the gates always agree with the boxes", { timeout: 600_000 }, async () => {
    await run("Form3", {
        salt: 0x3f3,
        menuPicture: "Image3",
        typed: { Text1: Serials11, Text2: PartNumbers },
        taps: ["Text1", "Text2", "Command1", "Command1", "Command1", "Text3", "Text8", "Label9", "Label10", "Label11", "Frame2", "Label1"],
        focusable: ["Text1", "Text2", "Command1", "Text3", null],
        fresh: () => ({ results: empty(Results3) }),
        check(previous, now, event, model, expect) {
            const c = now.controls;
            const serial = c.Text1.value, part = c.Text2.value;
            expect(core.upperAscii(serial) === serial && count(serial) <= 11, `the serial ${JSON.stringify(serial)} is not in its form`);
            expect(core.upperAscii(part) === part && count(part) <= 7, `the part number ${JSON.stringify(part)} is not in its form`);
            for (const name of Object.values(Results3)) expect(c[name].readOnly, `${name} editable`);
            // While the serial's message is up, the gates wait for its answer.
            if (!now.boxes.length) {
                const complete = count(serial) === 11;
                expect(c.Text2.disabled === !complete && c.Text2.readOnly === !complete, `Text2 ${c.Text2.disabled ? "disabled" : "enabled"} with a serial of ${count(serial)}`);
                for (const name of Object.values(Results3)) expect(c[name].disabled === !complete, `${name} ${c[name].disabled ? "disabled" : "enabled"} with a serial of ${count(serial)}`);
                expect(c.Command1.disabled === !(complete && count(part) >= 6), `Command1 ${c.Command1.disabled ? "disabled" : "enabled"} with ${JSON.stringify(serial)} and ${JSON.stringify(part)}`);
                // Once the focus has left it, a serial of five characters or more has passed the check.
                if (!(now.focusInView && now.focus === "Text1") && count(serial) >= 5)
                    expect(core.checkOldSerial(serial), `the serial ${serial} stands unchecked, the focus on ${now.focus}`);
            }
            if (pressedQuery(previous, event)) {
                const expected = core.serialQuery11(previous.controls.Text1.value, previous.controls.Text2.value, model.results);
                model.results = Object.fromEntries(Object.keys(Results3).map((f) => [f, expected[f]]));
            }
            expect(JSON.stringify(shown(now, Results3)) === JSON.stringify(model.results), `results ${JSON.stringify(shown(now, Results3))}, the queries gave ${JSON.stringify(model.results)}`);
            return pressedQuery(previous, event);
        },
    });
});
