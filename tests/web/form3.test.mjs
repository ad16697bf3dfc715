// Form3 in each engine at a phone's size: its own gates, the serial check when the focus leaves
// the serial (and only then), and a query that keeps what earlier queries showed.
import { test } from "node:test";
import assert from "node:assert/strict";

import { Texts } from "../../web/site/texts.js";
import { ResultBoxes, pasteHostileTexts, clearFocused, disabled, eachEngine, expectBox, focusedControl, goTo, noBoxOpen, sel, shownResults, state, until, values } from "./scenario.mjs";

const at = (name) => sel("Form3", name);
const Results = Object.values(ResultBoxes.Form3);

eachEngine("Form3", (f) => {
    test("the gates, the query, and later queries keeping what they do not find", async () => {
        const { page, core } = f;
        await goTo(page, f.url, "Form3");
        assert.equal(await focusedControl(page), "Form3:Text1");
        await page.type("88923abc8m");
        assert.deepEqual(await state(page, at("Text1")).then((b) => [b.value, b.caretAtEnd]), ["88923ABC8M", true]);
        assert.deepEqual(await state(page, at("Text2")).then((b) => [b.disabled, b.readOnly]), [true, true]);
        assert.ok((await disabled(page, "Form3", ...Results)).every(Boolean));

        await page.type("9");
        await noBoxOpen(page);
        assert.equal(await focusedControl(page), "Form3:Text2");
        assert.deepEqual(await state(page, at("Text2")).then((b) => [b.disabled, b.readOnly]), [false, false]);
        assert.ok((await disabled(page, "Form3", ...Results)).every((d) => !d));
        await page.type("md128");
        assert.deepEqual(await disabled(page, "Form3", "Command1"), [true]);
        await page.type("jx");
        assert.deepEqual([...(await values(page, "Form3", "Text2")), ...(await disabled(page, "Form3", "Command1"))], ["MD128JX", false]);
        await page.press("Backspace");
        await page.tap(at("Command1"));
        const empty = Object.fromEntries(Object.keys(ResultBoxes.Form3).map((field) => [field, ""]));
        const first = core.serialQuery11("88923ABC8M9", "MD128J", empty);
        assert.ok(first.DeviceModel && first.SalesRegion && first.Factory);
        assert.deepEqual(await shownResults(page, "Form3"), first);

        // A model code and a region without a row: those boxes keep the first query's texts.
        await clearFocused(page);
        await page.type("MD128ZZ");
        await page.focus(at("Text1"));
        await clearFocused(page);
        assert.deepEqual(await disabled(page, "Form3", "Command1"), [true]);
        assert.deepEqual(await shownResults(page, "Form3"), first, "editing the serial leaves the results");
        await page.type("5K013ABCXYZ\n");
        const second = core.serialQuery11("5K013ABCXYZ", "MD128ZZ", first);
        assert.deepEqual(await shownResults(page, "Form3"), second);
        assert.deepEqual([second.DeviceModel, second.SalesRegion], [first.DeviceModel, first.SalesRegion]);
        assert.notEqual(second.ProductionDate, first.ProductionDate);
        assert.deepEqual(page.errors, []);
    });

    test("a hand scanner: the serial, then the part number, whichever box has the focus", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form3");
        await page.type("S88923ABC3NP\n", { delay: 5 });
        await page.type("1PMB716CH/A\n", { delay: 5 });
        await until(async () => (await values(page, "Form3", "Text2"))[0] === "MB716CH", "the scanned part number");
        await noBoxOpen(page);
        assert.deepEqual(await values(page, "Form3", "Text1", "Text3"), ["88923ABC3NP", ""]);
    });

    test("a wrong serial is told when the focus leaves it, and emptied; a short one is not checked", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form3");
        await page.type("88323ABC8M9");
        await expectBox(page, { title: Texts.OldSerialTitle, text: "序列号有误，请核对后重新输入！" });
        await noBoxOpen(page);
        assert.equal(await focusedControl(page), "Form3:Text1");
        assert.deepEqual(await values(page, "Form3", "Text1"), [""]);
        assert.deepEqual(await state(page, at("Text2")).then((b) => [b.disabled, b.readOnly]), [true, true]);

        // Five characters or more are checked when the focus moves on; four are not.
        await page.type("88963");
        await page.press("Tab");
        await expectBox(page, { title: Texts.OldSerialTitle, text: Texts.OldSerialMessage });
        assert.equal(await focusedControl(page), "Form3:Text1");
        await page.type("8832");
        await page.press("Tab");
        await noBoxOpen(page);
        assert.notEqual(await focusedControl(page), "Form3:Text1");
    });

    test("a tap on what takes no focus, a label, a caption, a frame or blank space, leaves the serial unchecked", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form3");
        await page.type("5K3AX");
        for (const target of [at("Label9"), at("Label10"), at("Label1"), at("Label2"), "#Form3 [data-control=Frame2] legend", at("Frame2"), at("Text4"), "#Form3 .caption"]) {
            await page.tap(target);
            await page.click(target);
            assert.deepEqual([await focusedControl(page), ...(await values(page, "Form3", "Text1"))], ["Form3:Text1", "5K3AX"], target);
        }
        // Nor does "返回": it leaves without a check.
        await page.tap(at("Label11"));
        await page.waitFor(() => location.hash === "#/Main" && !document.getElementById("Form3"), { message: "the menu alone" });
        await noBoxOpen(page);
        assert.deepEqual(page.errors, []);
    });

    test("hostile texts: the boxes keep their length and form, the serial its check", async () => {
        const { page, core } = f;
        await goTo(page, f.url, "Form3");
        await pasteHostileTexts(page, core, "Form3", { normal: core.upperAscii, length: core.Serial11Length, box: { title: Texts.OldSerialTitle, text: Texts.OldSerialMessage }, serial: "88923abc8m9" });
        assert.deepEqual(page.errors, []);
    });
});
