// Form3 in the browser at a phone's size: its own gates, the serial check when the focus
// leaves the serial, and a query that keeps what earlier queries showed.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";

import { openPage, startSiteAndBrowser } from "./browser.mjs";
import { Texts } from "../../web/site/texts.js";
import { HostileTexts, clearFocused, expectBox, focusedControl, goTo, loadNodeCore, noBoxOpen, paste, pick, sel, shownResults, state, typeKeys } from "./scenario.mjs";

const Results = { DeviceModel: "Text3", ProductionDate: "Text4", SalesRegion: "Text5", Carrier: "Text6", Factory: "Text7", AfterSalesReplacement: "Text8" };
const at = (name) => sel("Form3", name);

let site, page, errors, core;
before(async () => {
    site = await startSiteAndBrowser();
    await site.session.browser.defaultBrowserContext().overridePermissions(new URL(site.url).origin, ["clipboard-read", "clipboard-write", "clipboard-sanitized-write"]);
    ({ page, errors } = await openPage(site.session, site.url));
    core = await loadNodeCore();
});
after(() => site?.close());

const results = () => shownResults(page, "Form3", Results);
const resultsDisabled = () => Promise.all(Object.values(Results).map(async (n) => (await state(page, at(n))).disabled));

test("the gates, the query, and later queries keeping what they do not find", async () => {
    await goTo(page, site.url, "Form3");
    assert.equal(await focusedControl(page), "Form3:Text1");
    for (const key of "88923abc8m") await typeKeys(page, key);
    assert.deepEqual(await state(page, at("Text1")).then((b) => [b.value, b.caretAtEnd]), ["88923ABC8M", true]);
    assert.deepEqual(await state(page, at("Text2")).then((b) => [b.disabled, b.readOnly]), [true, true]);
    assert.ok((await resultsDisabled()).every(Boolean));

    await typeKeys(page, "9");
    await noBoxOpen(page);
    assert.equal(await focusedControl(page), "Form3:Text2");
    assert.deepEqual(await state(page, at("Text2")).then((b) => [b.disabled, b.readOnly]), [false, false]);
    assert.ok((await resultsDisabled()).every((d) => !d));
    await typeKeys(page, "md128");
    assert.equal((await state(page, at("Command1"))).disabled, true);
    await typeKeys(page, "jx");
    assert.equal((await state(page, at("Text2"))).value, "MD128JX");
    assert.equal((await state(page, at("Command1"))).disabled, false);
    await page.keyboard.press("Backspace");
    await page.tap(at("Command1"));
    const empty = Object.fromEntries(Object.keys(Results).map((f) => [f, ""]));
    const first = pick(core.serialQuery11("88923ABC8M9", "MD128J", empty));
    assert.ok(first.DeviceModel && first.SalesRegion && first.Factory);
    assert.deepEqual(await results(), first);

    // A model code and a region without a row: those boxes keep the first query's texts.
    await page.focus(at("Text2"));
    await clearFocused(page);
    await typeKeys(page, "MD128ZZ");
    await page.focus(at("Text1"));
    await clearFocused(page);
    assert.equal((await state(page, at("Command1"))).disabled, true);
    assert.deepEqual(await results(), first, "editing the serial leaves the results");
    await typeKeys(page, "5K013ABCXYZ");
    await page.tap(at("Command1"));
    const second = pick(core.serialQuery11("5K013ABCXYZ", "MD128ZZ", first));
    assert.deepEqual(await results(), second);
    assert.equal(second.DeviceModel, first.DeviceModel);
    assert.equal(second.SalesRegion, first.SalesRegion);
    assert.notEqual(second.ProductionDate, first.ProductionDate);
    assert.deepEqual(errors, []);
});

test("a wrong serial is told when the focus leaves it, and emptied; a short one is not checked", async () => {
    await goTo(page, site.url, "Form3");
    await typeKeys(page, "88323ABC8M9");
    await expectBox(page, { title: Texts.OldSerialTitle, text: Texts.OldSerialMessage });
    await noBoxOpen(page);
    assert.equal(await focusedControl(page), "Form3:Text1");
    assert.equal((await state(page, at("Text1"))).value, "");
    assert.deepEqual(await state(page, at("Text2")).then((b) => [b.disabled, b.readOnly]), [true, true]);
    assert.equal((await state(page, at("Command1"))).disabled, true);

    // Five characters or more are checked when the focus moves on; four are not.
    await typeKeys(page, "88963");
    await page.keyboard.press("Tab");
    await expectBox(page, { title: Texts.OldSerialTitle, text: Texts.OldSerialMessage });
    assert.equal(await focusedControl(page), "Form3:Text1");
    await typeKeys(page, "8832");
    await page.keyboard.press("Tab");
    await noBoxOpen(page);
    assert.notEqual(await focusedControl(page), "Form3:Text1");

    // Tapping "返回" takes no focus from the serial, so it leaves without a check.
    await page.focus(at("Text1"));
    await typeKeys(page, "3");
    await page.tap(at("Label11"));
    await page.waitForSelector("#Main");
    await noBoxOpen(page);
    assert.equal(await page.$("#Form3"), null);
    assert.deepEqual(errors, []);
});

test("hostile texts and keys faster than the page draws: the boxes keep their length and form, the serial its check", async () => {
    await goTo(page, site.url, "Form3");
    for (const text of HostileTexts) {
        await page.focus(at("Text1"));
        await clearFocused(page);
        await paste(page, text);
        const serial = (await state(page, at("Text1"))).value;
        assert.ok(serial === core.upperAscii(serial) && core.charCount(serial) <= 11, JSON.stringify(serial));
        if (text === HostileTexts[0]) assert.equal(serial, "X".repeat(11));
        // Eleven characters move the focus on, and the check rejects all of these.
        if (core.charCount(serial) === 11) {
            await expectBox(page, { title: Texts.OldSerialTitle, text: Texts.OldSerialMessage });
            assert.equal((await state(page, at("Text1"))).value, "");
        }
        await noBoxOpen(page);
    }
    await clearFocused(page);
    await typeKeys(page, "88923abc8m9");
    for (const text of HostileTexts) {
        await page.focus(at("Text2"));
        await clearFocused(page);
        await paste(page, text);
        const part = (await state(page, at("Text2"))).value;
        assert.ok(part === core.upperAscii(part) && core.charCount(part) <= 7, JSON.stringify(part));
        assert.equal((await state(page, at("Command1"))).disabled, core.charCount(part) < 6);
    }

    // Every key event sent before the first is handled: the serial's keys in the serial, the rest in the part number.
    const burst = (text) => Promise.all(Array.from(text, (c) => Promise.all([page.keyboard.down(c), page.keyboard.up(c)])));
    await goTo(page, site.url, "Form3");
    await burst("88923abc8m9md128jxyz");
    assert.deepEqual([(await state(page, at("Text1"))).value, (await state(page, at("Text2"))).value], ["88923ABC8M9", "MD128JX"]);
    assert.equal((await state(page, at("Command1"))).disabled, false);
    await goTo(page, site.url, "Form3");
    await burst("88323abc8m9md128j");
    await expectBox(page, { title: Texts.OldSerialTitle, text: Texts.OldSerialMessage });
    assert.deepEqual([(await state(page, at("Text1"))).value, (await state(page, at("Text2"))).value], ["", ""]);
    assert.deepEqual(errors, []);
});
