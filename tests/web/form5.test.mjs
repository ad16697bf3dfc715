// Form5 in each engine at a phone's size, as a user drives it: typing, pasting, tapping and
// answering the boxes. Every decoded text is checked against the same core in Node.
import { test } from "node:test";
import assert from "node:assert/strict";

import * as links from "../../build-web/site/links.js";
import { Texts } from "../../web/site/texts.js";
import { HostileTexts, answerBox, pasteHostileTexts, clearFocused, disabled, eachEngine, expectBox, focusedControl, goTo, noBoxOpen, openBox, sel, shownResults, state, until, values } from "./scenario.mjs";

const at = (name) => sel("Form5", name);

eachEngine("Form5", (f) => {
    const off = (...names) => disabled(f.page, "Form5", ...names);

    test("the serial as typed: upper case, 0 for O, the caret at the end, 12 characters, the automatic part number", async () => {
        const { page, core } = f;
        await goTo(page, f.url, "Form5");
        assert.equal(await focusedControl(page), "Form5:Text1");
        assert.deepEqual(await off("Text2", "Command1", "Command3", "Command6", "Command7", "Text8"), [true, true, true, true, true, true]);
        // An o anywhere in the serial shows as the digit; a deletion in the middle puts the caret at the end.
        await page.type("dnpho7abcdt");
        assert.deepEqual(await state(page, at("Text1")).then((b) => [b.value, b.caretAtEnd]), ["DNPH07ABCDT", true]);
        await page.press("ArrowLeft");
        await page.press("ArrowLeft");
        await page.press("Backspace");
        assert.deepEqual(await state(page, at("Text1")).then((b) => [b.value, b.caretAtEnd]), ["DNPH07ABDT", true]);
        assert.deepEqual(await off("Text2", "Command1"), [true, true]);

        // The 12th character: the part number box enabled and focused, filled in for a model code
        // of the table, and the query enabled at once; a 13th key is refused.
        await clearFocused(page);
        await page.type("dnph7abcdtdk");
        await noBoxOpen(page);
        assert.equal(await focusedControl(page), "Form5:Text2");
        assert.deepEqual(await values(page, "Form5", "Text1", "Text2"), ["DNPH7ABCDTDK", core.autofillPartNumber("DNPH7ABCDTDK")]);
        assert.deepEqual(await off("Command1"), [false]);
        await page.focus(at("Text1"));
        await page.type("X");
        assert.deepEqual(await values(page, "Form5", "Text1"), ["DNPH7ABCDTDK"]);

        // Seven characters of a paste, whole emoji, never half of one.
        await page.focus(at("Text2"));
        await clearFocused(page);
        assert.deepEqual(await off("Command1", "Command3"), [true, true]);
        await page.insertText("😀😀😀中文😀😀😀");
        assert.deepEqual(await values(page, "Form5", "Text2"), ["😀😀😀中文😀😀"]);
        assert.deepEqual(await off("Command1"), [false]);

        // Deleting one serial character empties and disables the part number again.
        await page.focus(at("Text1"));
        await page.press("Backspace");
        assert.deepEqual(await state(page, at("Text2")).then((b) => [b.value, b.disabled]), ["", true]);
        assert.deepEqual(await off("Command1", "Command3"), [true, true]);
        assert.deepEqual(page.errors, []);
    });

    test("a wrong half-year code: the message, then both boxes empty, even for a model code that fills the part number in", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form5");
        await page.type("dnpl7abcdtdk");
        await expectBox(page, { title: Texts.HalfYearTitle, text: "请输入正确的序列号!" });
        await noBoxOpen(page);
        assert.equal(await focusedControl(page), "Form5:Text1");
        assert.deepEqual(await values(page, "Form5", "Text1", "Text2"), ["", ""]);
        assert.deepEqual(await off("Text2", "Command1", "Command3"), [true, true, true]);

        // Pasted whole, the serial is checked the same way; Esc is the box's close button.
        await page.insertText("dnpa7abc1234");
        assert.equal((await openBox(page)).title, Texts.HalfYearTitle);
        await answerBox(page, "Escape");
        assert.deepEqual(await values(page, "Form5", "Text1"), [""]);
        assert.equal(await focusedControl(page), "Form5:Text1");
    });

    test("a hand scanner: the part number kept for its serial, no query on its Enter; an IMEI changes nothing and says so", async () => {
        const { page, core } = f;
        await goTo(page, f.url, "Form5");
        await page.type("1PMD297CH/A\n", { delay: 5 });
        await page.type("SF1RJP3XYDTWF\n", { delay: 5 });
        await until(async () => (await values(page, "Form5", "Text2"))[0] === "MD297CH", "the scanned part number");
        await noBoxOpen(page);
        assert.deepEqual(await values(page, "Form5", "Text1", "Text3"), ["F1RJP3XYDTWF", ""]);
        await page.type("013425001234567\n", { delay: 5 });
        await expectBox(page, { title: core.ScanTexts.Title, text: "这是IMEI码，请扫描序列号或型号的条码" });
        assert.deepEqual(await values(page, "Form5", "Text1", "Text2"), ["F1RJP3XYDTWF", "MD297CH"]);
    });

    test("a full query: every field, the flag in red and the photo, the warranty question, the dates and the verdict", async () => {
        const { page, core } = f;
        await goTo(page, f.url, "Form5");
        await page.insertText("c7gk1abc1234");
        assert.equal(await focusedControl(page), "Form5:Text2");
        await page.type("md297ch");
        await page.tap(at("Command1"));

        const expected = core.displayQuery12("C7GK1ABC1234", "MD297CH");
        assert.deepEqual(await shownResults(page, "Form5"), expected.Result);
        assert.ok(expected.FlagRed && expected.Result.DeviceModel && expected.Result.ProductionDate, "every field decoded");
        const flagColour = () => page.evaluate((s) => getComputedStyle(document.querySelector(s)).color, at("Text9"));
        assert.equal(await flagColour(), "rgb(255, 0, 0)");
        const photos = () => page.evaluate(() => [...document.querySelectorAll("#Form5 [data-photo]")].filter((p) => p.offsetWidth > 0).map((p) => p.dataset.photo));
        assert.deepEqual(await photos(), ["BlackIPhone5"]);
        assert.deepEqual(await off("Text3", "Text8", "Command3", "Command6", "Command7"), [false, false, false, true, true]);

        // The warranty question: 取消 opens nothing, 确定 the warranty site; the paste hint either way.
        await page.tap(at("Command3"));
        await expectBox(page, { title: Texts.WarrantyTitle, text: Texts.WarrantyQuestion, buttons: ["确定", "取消"] }, "取消");
        await expectBox(page, { title: Texts.WarrantyPasteTitle, text: Texts.WarrantyPasteHint });
        assert.equal(await focusedControl(page), "Form5:Text8");
        assert.deepEqual(page.opened, []);
        await page.tap(at("Command3"));
        await expectBox(page, { title: Texts.WarrantyTitle, text: Texts.WarrantyQuestion, buttons: ["确定", "取消"] }, "确定");
        await expectBox(page, { title: Texts.WarrantyPasteTitle, text: Texts.WarrantyPasteHint });
        await until(() => page.opened.length, "the warranty site");
        assert.deepEqual(page.opened.splice(0), [links.WarrantyLookupPage]);

        // The warranty date keeps the caret where the user put it; a bad date of ten characters
        // gets the message and changes nothing.
        await page.focus(at("Text8"));
        await page.type("2013-02-30");
        await page.press("Home");
        for (let i = 0; i < 4; i++) await page.press("ArrowRight");
        await page.type("x");
        assert.deepEqual(await state(page, at("Text8")).then((b) => [b.value, b.caret]), ["2013x-02-30", 5]);
        await page.press("Backspace");
        assert.deepEqual(await state(page, at("Text8")).then((b) => [b.value, b.caret]), ["2013-02-30", 4]);
        await page.tap(at("Command6"));
        await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
        assert.deepEqual(await state(page, at("Text11")).then((b) => [b.value, b.disabled]), ["", true]);

        // A good date: the activation date, the purchase date prefilled with it, and for a
        // replacement unit its own message.
        await page.focus(at("Text8"));
        await clearFocused(page);
        await page.insertText("2013-11-11");
        await page.tap(at("Command6"));
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
        await page.type("dnph7abcdtdk");
        await page.press("Enter");
        assert.deepEqual(await shownResults(page, "Form5"), core.displayQuery12("DNPH7ABCDTDK", "MD269LL").Result);
        assert.equal(await flagColour(), "rgb(0, 0, 0)");
        assert.deepEqual(await photos(), ["BlackIPhone4"]);
        assert.deepEqual([(await state(page, at("Text11"))).value, (await off("Command7"))[0]], ["", false]);
        await page.tap(at("Command7"));
        await expectBox(page, { title: Texts.ActivationFirstTitle, text: Texts.ActivationFirstMessage });

        // The purchase date typed over the prefilled one, Enter for 确定; one that is no date gets the date message.
        await page.focus(at("Text8"));
        await page.type("2013-11-11\n");
        await page.tap(at("Command7"));
        await openBox(page);
        await clearFocused(page);
        await page.type("2012-12-20");
        await answerBox(page, "Enter");
        await expectBox(page, { title: Texts.VerdictTitle, text: core.refurbishmentVerdict(activation, "2012-12-20", "DNPH7ABCDTDK") });
        await page.tap(at("Command7"));
        await openBox(page);
        await clearFocused(page);
        await page.type("20121220");
        await answerBox(page, "确定");
        await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
        assert.deepEqual(page.errors, []);
    });

    test("hostile texts pasted into every box: kept to the box's length and form, the checks as for any text", async () => {
        const { page, core } = f;
        await goTo(page, f.url, "Form5");
        await pasteHostileTexts(page, core, "Form5", { normal: core.normalizeSerial, length: core.Serial12Length, box: { title: Texts.HalfYearTitle, text: Texts.HalfYearMessage }, serial: "c7gk1abc1234" });
        // The warranty date and the purchase date take any text; one that is no date gets the date message.
        await clearFocused(page);
        await page.type("md297ch\n");
        for (const text of HostileTexts.slice(0, 3)) {
            await page.focus(at("Text8"));
            await clearFocused(page);
            await page.insertText(text);
            await page.tap(at("Command6"));
            await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
        }
        await page.focus(at("Text8"));
        await clearFocused(page);
        await page.type("2013-11-11\n");
        for (const text of HostileTexts.slice(0, 3)) {
            await page.tap(at("Command7"));
            await openBox(page);
            await clearFocused(page);
            await page.insertText(text);
            await answerBox(page, "确定");
            await expectBox(page, { title: Texts.DateTitle, text: Texts.DateMessage });
        }
        assert.deepEqual(await values(page, "Form5", "Text11"), [core.estimateActivationDate("2013-11-11")]);
        assert.deepEqual(page.errors, []);
    });

    test("a held key presses once: the warranty question, the banner, 返回", async (t) => {
        const { page } = f;
        if (!f.session.supports.autoRepeat) return t.skip(`${f.engine}: the driver sends no auto-repeat`);
        await goTo(page, f.url, "Form5");
        await page.type("dnph7abcdtdk\n");
        await page.evaluate(() => {
            window.repeats = 0;
            addEventListener("keydown", (event) => (window.repeats += event.repeat), true);
        });
        await page.focus(at("Command3"));
        await page.hold("Enter", 4);
        assert.equal(await page.evaluate(() => window.repeats), 4, "the driver's auto-repeat arrived");
        // One question, not answered by the repeats.
        assert.equal((await openBox(page)).title, Texts.WarrantyTitle);
        await answerBox(page, "Escape");
        await expectBox(page, { title: Texts.WarrantyPasteTitle, text: Texts.WarrantyPasteHint });
        await page.focus(at("Image2"));
        await page.hold("Enter", 4);
        await until(() => page.opened.length, "the shop");
        await page.focus(at("Label9"));
        await page.hold("Enter", 4);
        await page.waitFor(() => location.hash === "#/Main", { message: "the menu" });
        await page.waitFor(() => document.querySelectorAll("section").length === 1, { message: "one screen" });
        assert.deepEqual(page.opened.splice(0), [links.ShopPage]);
        assert.equal(await page.evaluate(() => document.querySelector("section").id), "Main");
    });
});
