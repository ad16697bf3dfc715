// Form5 in the browser at a phone's size, as a user drives it: typing, pasting, tapping and
// answering the boxes. Every decoded text is checked against the same core in Node.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";

import { openPage, startSiteAndBrowser } from "./browser.mjs";
import * as links from "../../build-web/site/links.js";
import { Texts } from "../../web/site/texts.js";
import { HostileTexts, answerBox, clearFocused, expectBox, firstCharacters, focusedControl, goTo, loadNodeCore, noBoxOpen, openBox, paste, pick, sel, shownResults, state, typeKeys } from "./scenario.mjs";

const Results = { DeviceModel: "Text3", ProductionDate: "Text4", SalesRegion: "Text5", Carrier: "Text6", Factory: "Text7", AfterSalesReplacement: "Text9" };
const at = (name) => sel("Form5", name);

let site, page, errors, core;
before(async () => {
    site = await startSiteAndBrowser();
    await site.session.browser.defaultBrowserContext().overridePermissions(new URL(site.url).origin, ["clipboard-read", "clipboard-write", "clipboard-sanitized-write"]);
    ({ page, errors } = await openPage(site.session, site.url));
    core = await loadNodeCore();
});
after(() => site?.close());

const disabled = async (...names) => Promise.all(names.map(async (n) => (await state(page, at(n))).disabled));

test("the serial as typed: upper case, 0 for O, the caret at the end, 12 characters, the automatic part number", async () => {
    await goTo(page, site.url, "Form5");
    assert.equal(await focusedControl(page), "Form5:Text1");
    assert.deepEqual(await disabled("Text2", "Command1", "Command3", "Command6", "Command7", "Text8"), [true, true, true, true, true, true]);

    // An o anywhere in the serial shows as the digit; each key leaves the caret at the end.
    for (const [i, key] of [..."dnpho7abcdtd"].slice(0, 11).entries()) {
        await typeKeys(page, key);
        const box = await state(page, at("Text1"));
        assert.equal(box.value, core.normalizeSerial("dnpho7abcdtd".slice(0, i + 1)));
        assert.ok(box.caretAtEnd, `caret at the end after ${box.value}`);
    }
    assert.equal((await state(page, at("Text1"))).value, "DNPH07ABCDT");
    assert.deepEqual(await disabled("Text2", "Command1"), [true, true]);
    // A deletion in the middle puts the caret back at the end, where the next key goes.
    await page.keyboard.press("ArrowLeft");
    await page.keyboard.press("ArrowLeft");
    await page.keyboard.press("Backspace");
    assert.deepEqual(await state(page, at("Text1")).then((b) => [b.value, b.caretAtEnd]), ["DNPH07ABDT", true]);
    await typeKeys(page, "o");
    assert.equal((await state(page, at("Text1"))).value, "DNPH07ABDT0");

    // The 12th character: a good half-year code, the part number box enabled and focused, and
    // for a model code of the table the part number filled in and the query enabled at once.
    await clearFocused(page);
    await typeKeys(page, "dnph7abcdtdk");
    await noBoxOpen(page);
    assert.equal(await focusedControl(page), "Form5:Text2");
    assert.equal((await state(page, at("Text2"))).value, core.autofillPartNumber("DNPH7ABCDTDK"));
    assert.equal((await state(page, at("Text2"))).value, "MD269LL");
    assert.equal((await state(page, at("Command1"))).disabled, false);

    // The boxes hold no more than their length, counted in characters: a 13th key is refused.
    await page.focus(at("Text1"));
    await typeKeys(page, "X");
    assert.equal((await state(page, at("Text1"))).value, "DNPH7ABCDTDK");
    // The part number box takes seven characters of a paste, whole emoji, never half of one.
    await page.focus(at("Text2"));
    await clearFocused(page);
    assert.deepEqual(await disabled("Command1", "Command3"), [true, true]);
    await paste(page, "😀😀😀中文😀😀😀");
    const part = (await state(page, at("Text2"))).value;
    assert.equal(part, "😀😀😀中文😀😀");
    assert.equal(core.charCount(part), 7);
    assert.equal((await state(page, at("Command1"))).disabled, false);

    // Deleting one serial character empties and disables the part number again.
    await page.focus(at("Text1"));
    await page.keyboard.press("Backspace");
    assert.deepEqual(await state(page, at("Text2")).then((b) => [b.value, b.disabled]), ["", true]);
    assert.deepEqual(await disabled("Command1", "Command3"), [true, true]);
    assert.deepEqual(errors, []);
});

test("before the core has arrived the serial box takes keys, and what it got is taken when the core comes", async () => {
    // The core is held back as a slow network would hold it.
    const { page: early, errors: earlyErrors } = await openPage(site.session, "about:blank");
    await early.evaluateOnNewDocument(() => {
        const arrived = new Promise((resolve) => (window.releaseCore = resolve));
        for (const name of ["instantiate", "instantiateStreaming"]) {
            const real = WebAssembly[name];
            WebAssembly[name] = (...args) => arrived.then(() => real(...args));
        }
    });
    await early.goto(`${site.url}#Form5`, { waitUntil: "load" });
    await early.waitForFunction(() => document.activeElement?.matches("#Form5 [data-control=Text1]"));
    // Already in core's form, so only taking it as a change fills the part number in.
    await typeKeys(early, "DNPH7ABCDTDK");
    // No rule has run: the text stands as typed, every gate as the screen starts.
    const box = (name) => early.$eval(sel("Form5", name), (input) => ({ value: input.value, disabled: input.disabled, focused: document.activeElement === input }));
    assert.equal(await early.evaluate(() => document.documentElement.dataset.ready), undefined);
    assert.deepEqual(await box("Text1"), { value: "DNPH7ABCDTDK", disabled: false, focused: true });
    assert.deepEqual([(await box("Text2")).disabled, (await box("Command1")).disabled], [true, true]);

    // Then it is taken as if typed just now: the part number filled in and given the focus.
    await early.evaluate(() => window.releaseCore());
    await early.waitForSelector("html[data-ready] #Form5");
    await noBoxOpen(early);
    assert.equal((await box("Text1")).value, "DNPH7ABCDTDK");
    assert.deepEqual(await box("Text2"), { value: core.autofillPartNumber("DNPH7ABCDTDK"), disabled: false, focused: true });
    assert.equal((await box("Command1")).disabled, false);
    assert.deepEqual(earlyErrors, []);
    await early.close();
});

test("a wrong half-year code: the message, then the serial emptied and given the focus", async () => {
    await goTo(page, site.url, "Form5");
    await typeKeys(page, "dnpl7abc1234");
    await expectBox(page, { title: Texts.HalfYearTitle, text: Texts.HalfYearMessage });
    assert.equal(Texts.HalfYearMessage, "请输入正确的序列号!");
    await noBoxOpen(page);
    assert.equal(await focusedControl(page), "Form5:Text1");
    assert.deepEqual(await state(page, at("Text1")).then((b) => b.value), "");
    assert.deepEqual(await state(page, at("Text2")).then((b) => [b.value, b.disabled]), ["", true]);
    assert.deepEqual(await disabled("Command1", "Command3"), [true, true]);

    // Pasted whole, the serial is checked the same way; Esc is the box's close button.
    await paste(page, "dnpa7abc1234");
    const box = await openBox(page);
    assert.equal(box.title, Texts.HalfYearTitle);
    await answerBox(page, "Escape");
    assert.equal((await state(page, at("Text1"))).value, "");
    assert.equal(await focusedControl(page), "Form5:Text1");
    await noBoxOpen(page);
});

test("a full query: every field, the flag in red and the photo, the warranty question, the dates and the verdict", async () => {
    await goTo(page, site.url, "Form5");
    await paste(page, "c7gk1abc1234");
    assert.equal(await focusedControl(page), "Form5:Text2");
    assert.equal((await state(page, at("Text2"))).value, "", "no automatic part number for this model code");
    await typeKeys(page, "md297ch");
    assert.equal((await state(page, at("Text2"))).value, "MD297CH");
    await page.tap(at("Command1"));

    const expected = core.serialQuery12("C7GK1ABC1234", "MD297CH");
    assert.deepEqual(await shownResults(page, "Form5", Results), pick(expected));
    assert.ok(expected.DeviceModel && expected.ProductionDate && expected.SalesRegion && expected.Carrier, "every field decoded");
    assert.equal(expected.AfterSalesReplacement, "是");
    const flagColour = () => page.$eval(at("Text9"), (e) => getComputedStyle(e).color);
    assert.equal(await flagColour(), "rgb(255, 0, 0)");
    const photos = () => page.$$eval("#Form5 [data-photo]", (all) => all.filter((p) => p.offsetWidth > 0).map((p) => p.dataset.control));
    assert.deepEqual(await photos(), ["Image1"], "the black iPhone 5");
    assert.deepEqual(await disabled("Text3", "Text8", "Command3", "Command6", "Command7"), [false, false, false, true, true]);

    // The warranty question: 取消 opens nothing, 确定 the warranty site; the paste hint either way.
    await page.tap(at("Command3"));
    await expectBox(page, { title: Texts.WarrantyTitle, text: Texts.WarrantyQuestion, buttons: ["确定", "取消"] }, "取消");
    await expectBox(page, { title: Texts.WarrantyPasteTitle, text: Texts.WarrantyPasteHint });
    assert.equal(await focusedControl(page), "Form5:Text8");
    assert.deepEqual(site.session.external, []);
    await page.tap(at("Command3"));
    await expectBox(page, { title: Texts.WarrantyTitle, text: Texts.WarrantyQuestion, buttons: ["确定", "取消"] }, "确定");
    // The new tab took the front; the user comes back to the page.
    await page.bringToFront();
    await expectBox(page, { title: Texts.WarrantyPasteTitle, text: Texts.WarrantyPasteHint });
    assert.deepEqual(site.session.external, [links.WarrantyLookupPage]);
    site.session.external.length = 0;

    // A bad date of ten characters: the message, and nothing else changes.
    await page.focus(at("Text8"));
    await typeKeys(page, "2013-02-3");
    assert.equal((await state(page, at("Command6"))).disabled, true);
    await typeKeys(page, "0");
    await page.tap(at("Command6"));
    await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
    assert.deepEqual(await state(page, at("Text11")).then((b) => [b.value, b.disabled]), ["", true]);
    assert.equal((await state(page, at("Command7"))).disabled, true);

    // A good date: the activation date, then the purchase date prefilled with it, and for a
    // replacement unit its own message.
    await page.focus(at("Text8"));
    await clearFocused(page);
    await paste(page, "2013-11-11");
    await page.tap(at("Command6"));
    await noBoxOpen(page);
    const activation = core.estimateActivationDate("2013-11-11");
    assert.deepEqual(await state(page, at("Text11")).then((b) => [b.value, b.disabled, b.readOnly]), [activation, false, true]);
    await page.tap(at("Command7"));
    const ask = await openBox(page);
    assert.deepEqual([ask.id, ask.title, ask.text, ask.initial, ask.focusInside], ["InputBox", Texts.PurchaseTitle, Texts.PurchasePrompt, activation, true]);
    await answerBox(page, "取消");
    await noBoxOpen(page);
    await page.tap(at("Command7"));
    await openBox(page);
    await answerBox(page, "确定");
    await expectBox(page, { title: Texts.VerdictTitle, text: core.refurbishmentVerdict(activation, activation, "C7GK1ABC1234") });

    // A second query empties the dates and recolours the flag; the verdict asks for the activation first.
    await page.focus(at("Text1"));
    await clearFocused(page);
    await typeKeys(page, "dnph7abcdtdk");
    await page.tap(at("Command1"));
    const second = core.serialQuery12("DNPH7ABCDTDK", "MD269LL");
    assert.deepEqual(await shownResults(page, "Form5", Results), pick(second));
    assert.equal(second.AfterSalesReplacement, "否(供参考)");
    assert.equal(await flagColour(), "rgb(0, 0, 0)");
    assert.deepEqual(await photos(), [{ iphone4_black: "Image4", iphone4_white: "Image5", iphone5_black: "Image1", iphone5_white: "Image3" }[second.photo]]);
    assert.deepEqual(await state(page, at("Text11")).then((b) => b.value), "");
    assert.equal((await state(page, at("Command7"))).disabled, false);
    await page.tap(at("Command7"));
    await expectBox(page, { title: Texts.ActivationFirstTitle, text: Texts.ActivationFirstMessage });

    // The purchase date typed over the prefilled one: the verdict for the days between them;
    // a purchase date that is no date gets the date message.
    await page.focus(at("Text8"));
    await typeKeys(page, "2013-11-11");
    await page.tap(at("Command6"));
    await page.tap(at("Command7"));
    await openBox(page);
    await clearFocused(page);
    await typeKeys(page, "2012-12-20");
    const closed = await page.evaluate(() => globalThis.QuenlioDialogs.closed);
    await page.keyboard.press("Enter");
    await page.waitForFunction((n) => globalThis.QuenlioDialogs.closed > n, {}, closed);
    await expectBox(page, { title: Texts.VerdictTitle, text: core.refurbishmentVerdict(activation, "2012-12-20", "DNPH7ABCDTDK") });
    await page.tap(at("Command7"));
    await openBox(page);
    await clearFocused(page);
    await typeKeys(page, "20121220");
    await answerBox(page, "确定");
    await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
    assert.deepEqual(site.session.external, []);
    assert.deepEqual(errors, []);
});


test("hostile texts pasted into every box: kept to the box's length and form, the checks and boxes as for any text", async () => {
    // The tab the warranty site opened in has gone; the page is in front again, where a paste goes.
    await page.bringToFront();
    await goTo(page, site.url, "Form5");
    // What the browser itself makes of each text in a line, seen in Text9, which has no rules.
    const inserted = [];
    for (const text of HostileTexts) {
        await page.focus(at("Text9"));
        await clearFocused(page);
        await paste(page, text);
        inserted.push((await state(page, at("Text9"))).value);
    }
    assert.equal(inserted[0], "x".repeat(10000));

    for (const [i, text] of HostileTexts.entries()) {
        await page.focus(at("Text1"));
        await paste(page, text);
        const serial = (await state(page, at("Text1"))).value;
        assert.equal(serial, core.normalizeSerial(firstCharacters(inserted[i], 12)), `the serial of ${JSON.stringify(text.slice(0, 12))}`);
        if (core.charCount(serial) === 12) {
            await expectBox(page, { title: Texts.HalfYearTitle, text: Texts.HalfYearMessage });
            assert.equal((await state(page, at("Text1"))).value, "");
        } else {
            await clearFocused(page);
        }
        await noBoxOpen(page);
    }

    await typeKeys(page, "c7gk1abc1234");
    for (const [i, text] of HostileTexts.entries()) {
        await page.focus(at("Text2"));
        await clearFocused(page);
        await paste(page, text);
        const part = (await state(page, at("Text2"))).value;
        assert.equal(part, core.upperAscii(firstCharacters(inserted[i], 7)));
        assert.equal((await state(page, at("Command1"))).disabled, core.charCount(part) < 6);
    }
    await noBoxOpen(page);

    // The warranty date takes any text whole; one that is no date gets the date message.
    await clearFocused(page);
    await typeKeys(page, "md297ch");
    await page.tap(at("Command1"));
    for (const [i, text] of HostileTexts.entries()) {
        await page.focus(at("Text8"));
        await clearFocused(page);
        await paste(page, text);
        assert.equal((await state(page, at("Text8"))).value, inserted[i]);
        if ((await state(page, at("Command6"))).disabled) continue;
        await page.tap(at("Command6"));
        await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
        assert.deepEqual(await state(page, at("Text11")).then((b) => [b.value, b.disabled]), ["", true]);
    }

    // And the purchase date's line: the date message, the screen as it was.
    await page.focus(at("Text8"));
    await clearFocused(page);
    await paste(page, "2013-11-11");
    await page.tap(at("Command6"));
    for (const text of HostileTexts) {
        await page.tap(at("Command7"));
        assert.equal((await openBox(page)).id, "InputBox");
        await clearFocused(page);
        await paste(page, text);
        await answerBox(page, "确定");
        await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
    }
    assert.equal((await state(page, at("Text11"))).value, core.estimateActivationDate("2013-11-11"));
    assert.deepEqual(errors, []);
});

test("keys sent faster than the page draws land where slow ones do, and none while a message is up", async () => {
    // Every key event is sent before the first is handled.
    const burst = (text) => Promise.all(Array.from(text, (c) => Promise.all([page.keyboard.down(c), page.keyboard.up(c)])));
    await goTo(page, site.url, "Form5");
    await burst("c7gk1abc1234md297chxyz");
    assert.deepEqual([(await state(page, at("Text1"))).value, (await state(page, at("Text2"))).value], ["C7GK1ABC1234", "MD297CH"]);
    assert.equal(await focusedControl(page), "Form5:Text2");
    assert.equal((await state(page, at("Command1"))).disabled, false);

    // The part number written from the serial comes before the keys that follow it, which find the box full.
    await goTo(page, site.url, "Form5");
    await burst("dnph7abcdtdkxyz");
    assert.deepEqual([(await state(page, at("Text1"))).value, (await state(page, at("Text2"))).value], ["DNPH7ABCDTDK", "MD269LL"]);

    // A wrong half-year code: the keys after the 12th go to the message box, not into a box below it.
    await goTo(page, site.url, "Form5");
    await burst("dnpl7abc1234md297ch");
    await expectBox(page, { title: Texts.HalfYearTitle, text: Texts.HalfYearMessage });
    assert.deepEqual([(await state(page, at("Text1"))).value, (await state(page, at("Text2"))).value], ["", ""]);
    await burst("dnph7abcdtdk");
    assert.equal((await state(page, at("Text2"))).value, "MD269LL");
    await noBoxOpen(page);
    assert.deepEqual(errors, []);
});
