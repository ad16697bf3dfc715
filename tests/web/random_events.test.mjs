// Both query screens driven by long runs of random user events in chromium: keys, pastes of
// hostile texts, an input method's composition, taps on every control, focus moves, the browser's
// Back and a reload, and the boxes answered however they come up. After every event the page is
// left to settle and its gates are checked against its boxes and core. The run is drawn from a
// seed, the same one each time unless QUENLIO_SEED names another (a number replays that run;
// "random" draws a fresh one, to look for new faults); QUENLIO_EVENTS sets the number per screen.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";

import { Phone, launch, startSite } from "./driver.mjs";
import * as links from "../../build-web/site/links.js";
import { Texts } from "../../web/site/texts.js";
import { HostileTexts, ResultBoxes, loadNodeCore, settle, watchBoxes, watchHistory } from "./scenario.mjs";
import { seedFromEnvironment, seeded } from "./seeded.mjs";

// 6000 a screen: each key now waits out the page's burst detector, and 6000 take what 10000 did before.
const EventsPerScreen = Number(process.env.QUENLIO_EVENTS ?? 6000);
const Seed = seedFromEnvironment(20261208);

// Texts worth pasting: good and bad serials, part numbers and dates, so that the runs reach
// every gate, and texts no box should choke on.
const Serials12 = ["dnph7abcdtdk", "c7gk1abc1234", "DNPH7ABCDTF9", "f2lhk0abdtdr", "dqgj3xyzdtfc", "C3KG1ABCDTFH", "dnpl7abc1234", "dnpa7abc1234", "DN0H7ABCDTDK", "dnph7abc"];
const Serials11 = ["88923abc8m9", "5k013abcxyz", "88323ABC8M9", "61905abcvr0", "95o12abca4s", "88963abc8m9", "8892", "79912ABCEOO"];
const PartNumbers = ["md297ch", "MD269LL", "md128j", "MB496LL", "mc603ch", "md128zz", "md12", "MD239CH"];
const Dates = ["2013-11-11", "2013-02-28", "2012-12-20", "2013-01-01", "20121220", "2013-13-45", "2013/11/11", "2013年11月11日", "9999-99-99xx"];
const Hostile = [...HostileTexts, "\u0085\u2028\u2029", "e\u0301o\u0308", "\u200b\ufeff\u00ad", "DNPH\n7ABC\r\nDTDK", "ＤＮＰＨ７ＡＢＣＤＴＤＫ", "ßﬁİıǅ", "<img src=x onerror=alert(1)>", "' OR 1=1 --", "%00%s%n", ""];
const PasteTexts = [...Serials12, ...Serials11, ...PartNumbers, ...Dates, ...Hostile];
const Keys = [..."abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789oOoO-", "Backspace", "Backspace", "Backspace", "Delete", "Enter", "Tab", "ArrowLeft", "ArrowRight", "ArrowUp", "ArrowDown", "Home", "End", "Space"];
const Chinese = [..."中文序列号型号查询苹果"];
// What a box may say, by its title; the verdict's text is core's.
const BoxTexts = new Map([
    [Texts.HalfYearTitle, Texts.HalfYearMessage], [Texts.OldSerialTitle, Texts.OldSerialMessage], [Texts.WarrantyTitle, Texts.WarrantyQuestion],
    [Texts.WarrantyPasteTitle, Texts.WarrantyPasteHint], [Texts.DateTitle, Texts.DateMessage], [Texts.ActivationFirstTitle, Texts.ActivationFirstMessage],
    [Texts.PurchaseTitle, Texts.PurchasePrompt],
]);
// What a screen says of a burst of keys it takes for a hand scanner's code that is for neither box:
// core's lines, for a code of each kind either screen refuses.
const isScanLine = (box) =>
    box.title === core.ScanTexts.Title &&
    ["013425001234567", "885909627837", "X", "SF1RJP3XYDTWF", "S88923ABC3NP"].some((code) =>
        [core.Serial12Length, core.Serial11Length].some((length) => core.readScannedCode(code, length).Message === box.text));
const shorten = (text) => JSON.stringify(text.length > 40 ? `${text.slice(0, 20)}…(${text.length})` : text);

// `page` is chromium's own (puppeteer's), for its touch events, input method and clipboard;
// `driven` the driver's, which records and closes the tabs the page opens.
let site, session, driven, page, core, cdp;
before(async () => {
    site = await startSite();
    session = await launch("chromium", { origin: site.origin });
    // The phone's layout at one device pixel per CSS pixel, the whole of Form5 in sight: the same
    // page, drawn nine times faster and tapped without scrolling.
    driven = await session.newPage({ ...Phone, height: 1100, deviceScaleFactor: 1 });
    page = driven.native;
    await page.browserContext().overridePermissions(site.origin, ["clipboard-read", "clipboard-write", "clipboard-sanitized-write"]);
    await page.evaluateOnNewDocument(watchBoxes);
    await page.evaluateOnNewDocument(watchHistory);
    cdp = await page.createCDPSession();
    core = await loadNodeCore();
});
after(async () => {
    await session?.close();
    await site?.close();
});

// The input goes to the browser as fast as it takes it, every event sent before the first is
// handled, as a user typing faster than the page draws.
const send = (method, params) => cdp.send(method, params);
const pressNow = (key) => Promise.all([page.keyboard.down(key), page.keyboard.up(key)]);
// Six keys each within 50 ms of the last are a hand scanner's code, which a pause of 100 ms ends,
// and a person's keys reach the box once 50 ms have passed: each key or typing is given that long,
// so the state read after it is the page's.
const settled = async (send, wait) => {
    await send();
    await new Promise((done) => setTimeout(done, wait));
};
const press = (key) => settled(() => pressNow(key), 60);
const typeFast = (text) =>
    settled(() => Promise.all(Array.from(text, (c) => (c >= " " && c <= "~" ? pressNow(c) : page.keyboard.sendCharacter(c)))), text.length >= 6 ? 150 : 60);
const withKey = (modifier, key) => Promise.all([page.keyboard.down(modifier), pressNow(key), page.keyboard.up(modifier)]);
async function pasteFast(text) {
    // Only a page in front, whose document has the focus, may write the clipboard. Shift+Tab may
    // have taken the focus into the browser's own controls, where a tap beside the controls (which
    // takes no focus) leaves it in headless chromium: then the keys paste what the clipboard held.
    await page.evaluate((t) => navigator.clipboard.writeText(t), text).catch(() => page.bringToFront());
    await withKey("Control", "KeyV");
}

/**
 * Taps `name` (a control of the screen, or "dialog ok" / "dialog cancel"), scrolled into view;
 * with `mouse`, clicks it instead. Returns the answer ("ok" / "cancel") of a box's button lying
 * at that spot, which the press goes to, if there is one (`hit`), and whether a box was up (`boxUp`),
 * which may have come up after the page last settled; null when there is nothing to tap.
 */
async function tap(screen, name, mouse) {
    const target = name.startsWith("dialog ") ? `dialog[open] [data-answer=${name.slice(7)}]` : `#${screen} [data-control=${name}]`;
    const spot = await page.evaluate((s) => {
        const element = document.querySelector(s);
        if (!element || element.hidden) return null;
        element.scrollIntoView({ block: "nearest" });
        const box = element.getBoundingClientRect();
        if (!box.width || !box.height) return null;
        const [x, y] = [box.x + box.width / 2, box.y + box.height / 2];
        return { x, y, hit: document.elementFromPoint(x, y)?.closest("dialog[open] button")?.dataset.answer ?? null, boxUp: !!document.querySelector("dialog[open]") };
    }, target);
    if (!spot) return null;
    if (mouse) await page.mouse.click(spot.x, spot.y);
    else {
        const touch = { x: Math.round(spot.x), y: Math.round(spot.y), radiusX: 0.5, radiusY: 0.5, force: 0.5, id: 0 };
        await Promise.all([send("Input.dispatchTouchEvent", { type: "touchStart", touchPoints: [touch] }), send("Input.dispatchTouchEvent", { type: "touchEnd", touchPoints: [] })]);
    }
    return spot;
}

// Waits for the page to come up (`selector`); one that does not is a failure, described as it stands.
async function comesUp(selector) {
    if (await page.waitForSelector(selector, { timeout: 20_000 }).catch(() => null)) return;
    const stall = await page.evaluate(() => ({
        ready: document.documentElement.hasAttribute("data-ready"), readyState: document.readyState, visibility: document.visibilityState, hash: location.hash,
        screens: [...document.querySelectorAll("section.screen")].map((s) => s.id).join(" "),
        worker: navigator.serviceWorker?.controller?.state ?? "none",
        loaded: performance.getEntriesByType("resource").map((r) => `${r.name.split("/").pop()} ${Math.round(r.duration)} ms`).join(", "),
    })).catch((error) => String(error));
    throw new Error(`the page did not come up (${selector}): ${JSON.stringify(stall)}`);
}

/**
 * The events of a run, each with its weight, in the order the draw goes through them. An event
 * returns its description and whether it opens a tab: true, false or "maybe" (a touch soon after
 * another on the same spot is the second of a double tap, which is no press).
 */
const Events = [
    [0.25, "key", async (run, rng, now) => {
        const key = rng.pick(Keys);
        await press(key === "Space" ? " " : key);
        const pressing = key === "Enter" || key === "Space";
        return [`key ${key}`, pressing && (now.boxes.length ? pressesOk(now, key) : run.opensTab(now.focus, now))];
    }],
    [0.12, "type", async (run, rng, now) => {
        // Key by key, so no more than a line of it.
        const text = rng.pick([...(run.typed[now.focus] ?? []), rng.pick(Chinese), rng.pick(Keys.slice(0, 60))].filter((t) => t.length <= 40));
        await typeFast(text);
        return [`type ${JSON.stringify(text)}`];
    }],
    [0.04, "compose", async (run, rng) => {
        // A composition of the input method, then the character it commits.
        const character = rng.pick(Chinese);
        await send("Input.imeSetComposition", { text: "zhong", selectionStart: 5, selectionEnd: 5 });
        if (rng.chance(0.2)) await settle(page);
        await send("Input.insertText", { text: character });
        return [`compose ${character}`];
    }],
    [0.17, "paste", async (run, rng, now) => {
        // Mostly what the focused box is for, which then mostly replaces what it holds (so a date
        // reaches 激活查询 whole), else anything.
        const meant = rng.chance(0.6);
        const text = rng.pick(meant ? run.typed[now.focus] ?? PasteTexts : PasteTexts);
        if (rng.chance(meant ? 0.6 : 0.15)) await withKey("Control", "KeyA");
        await pasteFast(text);
        return [`paste ${shorten(text)}`];
    }],
    [0.30, "tap", async (run, rng, now) => {
        const name = rng.pick(run.taps);
        const mouse = rng.chance(0.7);
        const { hit = null, boxUp = false } = (await tap(run.screen, name, mouse)) ?? {};
        const opens = hit ? hit === "ok" && now.boxes[0]?.title === Texts.WarrantyTitle : !boxUp && run.opensTab(name, now);
        return [`${mouse ? "click" : "tap"} ${name}`, opens && (mouse || "maybe")];
    }],
    [0.065, "focus", async (run, rng, now) => {
        // focus() on the inert controls under a box stays a user's try; blur() would not be.
        const name = rng.pick(run.focusable) ?? (now.boxes.length ? "Text1" : null);
        await page.evaluate((s, n) => (n ? document.querySelector(`#${s} [data-control=${n}]`).focus() : document.activeElement?.blur()), run.screen, name);
        return [name ? `focus ${name}` : "blur"];
    }],
    [0.025, "Shift+Tab", async () => [(await withKey("Shift", "Tab"), "Shift+Tab")]],
    [0.0275, "select all", async () => [(await withKey("Control", "KeyA"), "select all")]],
    [0.0017, "Back", async () => [(await page.goBack(), "Back")]],
    [0.0008, "reload", async (run) => {
        await page.reload({ waitUntil: "load" });
        await comesUp("html[data-ready]");
        run.model = run.fresh();
        return ["reload"];
    }],
];

// Answering the box that is up, one way or another.
async function answer(run, rng, now) {
    const [box] = now.boxes;
    // The scan box (Tab can reach 扫描条码) has only 关闭 to press here: this browser has no camera.
    const ways = box.id === "InputBox" ? ["ok", "cancel", "Escape", "Enter", "type", "paste"] : box.id === "ScanBox" ? ["cancel", "Escape"]
        : box.title === Texts.WarrantyTitle ? ["ok", "cancel", "Escape", "Enter"] : ["ok", "Escape", "Enter", "ok"];
    const how = rng.pick(ways);
    if (how === "ok" || how === "cancel") await tap(run.screen, `dialog ${how}`, rng.chance(0.7));
    else if (how === "type") await typeFast(rng.pick(Dates));
    else if (how === "paste") {
        await withKey("Control", "KeyA");
        await pasteFast(rng.pick([...Dates, ...Hostile]));
    } else await press(how);
    return [`box "${box.title}": ${how}`, how === "ok" ? box.title === Texts.WarrantyTitle : how === "Enter" && pressesOk(now, "Enter")];
}

// Whether `key` answers the box that is up with 确定 and so opens the warranty site: Enter does while the
// box holds the focus (Tab may have taken it out of the page), unless the focus is on 取消, which
// Enter presses; Space only on 确定 itself.
const pressesOk = (now, key) => {
    const [box] = now.boxes;
    if (box?.title !== Texts.WarrantyTitle || !box.focusInside) return false;
    return key === "Enter" ? now.focusAnswer !== "cancel" : now.focusAnswer === "ok";
};

/** Runs `EventsPerScreen` random events on `rules.screen`, checking after each with `rules.check`. */
async function run(rules) {
    const rng = seeded(Seed ^ rules.salt);
    const recent = [];
    const fail = (message) =>
        assert.fail(`${message}\n  seed ${Seed} (replay with QUENLIO_SEED=${Seed}), ${rules.screen}, after event ${recent.at(-1)?.n ?? 0}\n  last events:\n    ${recent.slice(-25).map((e) => `#${e.n} ${e.what}`).join("\n    ")}\n  page errors: ${JSON.stringify(driven.errors)}`);
    const expect = (condition, message) => condition || fail(message);
    const total = Events.reduce((sum, [weight]) => sum + weight, 0);
    // A fresh screen from a fresh page: from elsewhere, so a mere change of the fragment cannot keep the old one.
    const goTo = async () => {
        await page.goto("about:blank");
        await page.goto(`${site.url}#/${rules.screen}`, { waitUntil: "load" });
        await comesUp(`html[data-ready] #${rules.screen}`).catch((error) => fail(error.message));
        rules.model = rules.fresh();
    };
    const counts = { boxes: 0, returns: 0, queries: 0 };
    await page.bringToFront();
    await goTo();
    let now = await settle(page);
    const tabs = () => driven.opened.length;
    const started = Date.now();

    for (let n = 1; n <= EventsPerScreen; n++) {
        const previous = now;
        const tabsBefore = tabs();
        let what = "?", opens = false;
        try {
            const r = rng.next();
            if (previous.boxes.length && rng.chance(0.8)) [what, opens] = await answer(rules, rng, previous);
            else {
                let at = r * total;
                const [, , event] = Events.find(([weight]) => (at -= weight) < 0) ?? Events.at(-1);
                [what, opens = false] = await event(rules, rng, previous);
            }
            recent.push({ n, what });
            if (recent.length > 50) recent.splice(0, 25);
            if (opens) {
                // The new tab is recorded and closed by the session; the user comes back to the page.
                const deadline = Date.now() + (opens === "maybe" ? 500 : 10_000);
                while (tabs() === tabsBefore && Date.now() < deadline) await new Promise((done) => setTimeout(done, 10));
                expect(tabs() - tabsBefore === 1 || (opens === "maybe" && tabs() === tabsBefore), `one new tab expected, ${tabs() - tabsBefore} opened`);
                await page.bringToFront();
            }
            now = await settle(page);
            if (!opens) expect(tabs() === tabsBefore, `a new tab opened: ${driven.opened.slice(tabsBefore)}`);

            // Away from the screen (the menu, Form4 over it, a reload not yet wired): fresh again.
            if (now.hash !== `#/${rules.screen}` || now.screens !== rules.screen || !now.ready) {
                expect(["#/Main", "#/Form4", `#/${rules.screen}`].includes(now.hash), `unexpected screen ${now.hash}: ${now.screens}`);
                ++counts.returns;
                recent.push({ n, what: `→ ${now.hash}, fresh ${rules.screen}` });
                await goTo();
                now = await settle(page);
            }

            // One box at most, modal, holding the focus, with a known title and text; every box
            // opened but the one up has been closed.
            expect(now.boxes.length <= 1, `${now.boxes.length} boxes open at once`);
            expect(now.opened - now.closed === now.boxes.length, `${now.opened} boxes opened, ${now.closed} closed, ${now.boxes.length} open`);
            const [box] = now.boxes;
            if (box) {
                // Tab may take the focus out of the page, as from any modal dialog, but never under the box.
                expect(box.modal && (box.focusInside || now.focus === "BODY"), `the box "${box.title}" is modal and holds the focus, not ${now.focus}`);
                expect(box.title === Texts.VerdictTitle || box.id === "ScanBox" || BoxTexts.get(box.title) === box.text || isScanLine(box), `an unknown box: ${box.title} / ${box.text}`);
            }
            counts.boxes += Math.max(now.opened - previous.opened, 0);
            if (rules.check(previous, now, what, expect)) ++counts.queries;
        } catch (error) {
            if (error instanceof assert.AssertionError) throw error;
            recent.push({ n, what: `${what} …` });
            fail(`${error.message ?? error}`);
        }
    }
    console.log(`${rules.screen}: ${EventsPerScreen} events in ${((Date.now() - started) / 1000).toFixed(1)} s (seed ${Seed}): ${JSON.stringify(counts)}`);
    assert.deepEqual(driven.errors, [], `seed ${Seed}`);
    const allowed = new Set([links.ShopPage, links.WarrantyLookupPage]);
    assert.deepEqual(driven.opened.filter((address) => !allowed.has(address)), [], `seed ${Seed}`);
}

const shown = (now, boxes) => Object.fromEntries(Object.entries(boxes).map(([field, name]) => [field, now.controls[name].value]));
// A tap or click on 查询, Enter in the part number, or Enter or Space on 查询 itself.
const pressedQuery = (previous, event) =>
    !previous.boxes.length && !previous.controls.Command1.disabled &&
    (/^(tap|click) Command1$/.test(event) || (event === "key Enter" && previous.focus === "Text2") || (/^key (Enter|Space)$/.test(event) && previous.focus === "Command1"));
const inForm = (text, normal, max) => normal(text) === text && core.charCount(text) <= max;

test("Form5 under random events: the gates always agree with the boxes", { timeout: 900_000 }, async () => {
    // The flag box is the user's to edit; its text and colour are checked on the query.
    const { AfterSalesReplacement: _flag, ...boxes } = ResultBoxes.Form5;
    await run({
        screen: "Form5",
        salt: 0x5f5,
        typed: { Text1: Serials12, Text2: PartNumbers, Text8: Dates, Text9: Hostile },
        taps: ["Text1", "Text2", "Command1", "Command1", "Command1", "Command2", "Text3", "Text5", "Text9", "Image1", "Image3", "Image4", "Image5", "Image2", "Text8", "Command3", "Command3", "Command6", "Command6", "Command7", "Command7", "Text11", "Label9", "Frame2", "Label1"],
        focusable: ["Text1", "Text2", "Text8", "Text9", "Command1", "Command2", null],
        opensTab: (name, now) => name === "Image2" && !now.boxes.length,
        fresh: () => ({ results: Object.fromEntries(Object.keys(boxes).map((f) => [f, ""])), activation: "" }),
        check(previous, now, event, expect) {
            const c = now.controls;
            const [serial, part, date] = [c.Text1.value, c.Text2.value, c.Text8.value];
            expect(inForm(serial, core.normalizeSerial, core.Serial12Length), `the serial ${JSON.stringify(serial)} is not in its form`);
            expect(inForm(part, core.upperAscii, core.PartNumberLength), `the part number ${JSON.stringify(part)} is not in its form`);
            const complete = core.charCount(serial) === core.Serial12Length;
            expect(c.Text2.disabled === !complete && (complete || part === ""), `Text2 ${JSON.stringify(part)}, ${c.Text2.disabled ? "disabled" : "enabled"}, with a serial of ${core.charCount(serial)}`);
            if (!now.boxes.length && complete) expect(core.checkHalfYearCode(serial), `the serial ${serial} stands with a wrong half-year code`);
            expect(c.Command1.disabled === (c.Text2.disabled || core.charCount(part) < core.ShortestPartNumber), `Command1 ${c.Command1.disabled ? "disabled" : "enabled"} with the part number ${JSON.stringify(part)}`);
            expect(c.Command3.disabled || !c.Command1.disabled, "Command3 enabled without Command1");
            // The query opens the result boxes and the warranty date together, for good.
            const queried = !c.Text3.disabled;
            for (const name of ["Text4", "Text5", "Text6", "Text7", "Text8"]) expect(c[name].disabled === !queried, `${name} and Text3 differ in state`);
            for (const name of ["Text3", "Text4", "Text5", "Text6", "Text7", "Text11"]) expect(c[name].readOnly, `${name} editable`);
            expect(!c.Text9.disabled, "Text9 disabled");
            expect(queried || (c.Command3.disabled && date === "" && now.photos.length === 0), "the warranty controls or a photo before any query");
            expect(c.Command6.disabled === core.charCount(date) < core.DateLength, `Command6 ${c.Command6.disabled ? "disabled" : "enabled"} with the date ${JSON.stringify(date)}`);
            expect(c.Text11.disabled === c.Command7.disabled, "Text11 and Command7 differ in state");
            const model = this.model;
            if (pressedQuery(previous, event)) {
                const expected = core.displayQuery12(previous.controls.Text1.value, previous.controls.Text2.value);
                model.results = Object.fromEntries(Object.keys(boxes).map((f) => [f, expected.Result[f]]));
                model.activation = "";
                expect(c.Text9.value === expected.Result.AfterSalesReplacement && c.Text9.red === expected.FlagRed, `the flag ${c.Text9.value}`);
                const photo = Object.keys(core.ModelPhoto).find((name) => core.ModelPhoto[name] === expected.Photo);
                expect(now.photos.join() === (photo === "None" ? "" : photo), `photo ${now.photos} for ${photo}`);
                expect(date === "" && c.Command6.disabled, "a query left a date");
            }
            // The activation date is core's for the warranty date it was pressed with.
            if (/^(tap|click) Command6$|^key (Enter|Space)$/.test(event) && !previous.boxes.length && !previous.controls.Command6.disabled &&
                (event.startsWith("key") ? ["Command6", "Text8"].includes(previous.focus) : true))
                model.activation = core.estimateActivationDate(previous.controls.Text8.value) ?? model.activation;
            expect(c.Text11.value === model.activation, `the activation date ${JSON.stringify(c.Text11.value)}, core gave ${JSON.stringify(model.activation)}`);
            expect(JSON.stringify(shown(now, boxes)) === JSON.stringify(model.results), `results ${JSON.stringify(shown(now, boxes))}, the last query gave ${JSON.stringify(model.results)}`);
            return pressedQuery(previous, event);
        },
    });
});

test("Form3 under random events: the gates always agree with the boxes", { timeout: 900_000 }, async () => {
    const boxes = ResultBoxes.Form3;
    await run({
        screen: "Form3",
        salt: 0x3f3,
        typed: { Text1: Serials11, Text2: PartNumbers },
        taps: ["Text1", "Text2", "Command1", "Command1", "Command1", "Text3", "Text8", "Label9", "Label10", "Label11", "Frame2", "Label1"],
        focusable: ["Text1", "Text2", "Command1", "Text3", null],
        opensTab: () => false,
        fresh: () => ({ results: Object.fromEntries(Object.keys(boxes).map((f) => [f, ""])) }),
        check(previous, now, event, expect) {
            const c = now.controls;
            const [serial, part] = [c.Text1.value, c.Text2.value];
            expect(inForm(serial, core.upperAscii, core.Serial11Length), `the serial ${JSON.stringify(serial)} is not in its form`);
            expect(inForm(part, core.upperAscii, core.PartNumberLength), `the part number ${JSON.stringify(part)} is not in its form`);
            for (const name of Object.values(boxes)) expect(c[name].readOnly, `${name} editable`);
            // While the serial's message is up, the gates wait for its answer.
            if (!now.boxes.length) {
                const complete = core.charCount(serial) === core.Serial11Length;
                expect(c.Text2.disabled === !complete && c.Text2.readOnly === !complete, `Text2 ${c.Text2.disabled ? "disabled" : "enabled"} with a serial of ${core.charCount(serial)}`);
                for (const name of Object.values(boxes)) expect(c[name].disabled === !complete, `${name} ${c[name].disabled ? "disabled" : "enabled"} with a serial of ${core.charCount(serial)}`);
                expect(c.Command1.disabled === !(complete && core.charCount(part) >= core.ShortestPartNumber), `Command1 ${c.Command1.disabled ? "disabled" : "enabled"} with ${JSON.stringify(serial)} and ${JSON.stringify(part)}`);
                // Once the focus has left it, the serial has passed the check.
                if (!(now.focusScreen === "Form3" && now.focus === "Text1"))
                    expect(core.checkOldSerial(serial), `the serial ${serial} stands unchecked, the focus on ${now.focus}`);
            }
            if (pressedQuery(previous, event)) this.model.results = core.serialQuery11(previous.controls.Text1.value, previous.controls.Text2.value, this.model.results);
            expect(JSON.stringify(shown(now, boxes)) === JSON.stringify(this.model.results), `results ${JSON.stringify(shown(now, boxes))}, the queries gave ${JSON.stringify(this.model.results)}`);
            return pressedQuery(previous, event);
        },
    });
});
