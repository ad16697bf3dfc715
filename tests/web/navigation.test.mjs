// Moving between the screens of the page: the menu, fresh query screens, screens opened over
// another and closed back to it, the browser's Back and a reload, the links, the keyboard.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";

import { openPage, startSiteAndBrowser } from "./browser.mjs";
import * as links from "../../build-web/site/links.js";
import { focusedControl, goTo, sel, state, typeKeys } from "./scenario.mjs";

let site, page, errors;
before(async () => {
    site = await startSiteAndBrowser();
    ({ page, errors } = await openPage(site.session, site.url));
});
after(() => site?.close());

const shown = () => page.evaluate(() => [location.hash, ...[...document.querySelectorAll("section.screen")].map((s) => s.id + (s.inert ? "(inert)" : ""))].join(" "));
const waitShown = (expected) => page.waitForFunction((e) => [location.hash, ...[...document.querySelectorAll("section.screen")].map((s) => s.id + (s.inert ? "(inert)" : ""))].join(" ") === e, { timeout: 3000 }, expected).catch(async () => assert.equal(await shown(), expected));

test("Back closes a screen opened over another and goes from a query screen to the menu; a reload is fresh", async () => {
    await page.goto("about:blank");
    await page.goto(site.url, { waitUntil: "load" });
    await waitShown("#Form5 Form5");
    await typeKeys(page, "dnph7abcdtdk");

    // 查看方法 opens Form4 over Form5; Back closes it and Form5 is as it was.
    await page.tap(sel("Form5", "Command2"));
    await waitShown("#Form4 Form5(inert) Form4");
    await page.goBack();
    await waitShown("#Form5 Form5");
    assert.equal((await state(page, sel("Form5", "Text2"))).value, "MD269LL");
    assert.equal(await focusedControl(page), "Form5:Command2");
    // Its close button does the same.
    await page.tap(sel("Form5", "Command2"));
    await waitShown("#Form4 Form5(inert) Form4");
    await page.tap("#Form4 button.close");
    await waitShown("#Form5 Form5");
    assert.equal((await state(page, sel("Form5", "Text1"))).value, "DNPH7ABCDTDK");

    // Back from the start screen is the menu; the menu opens a fresh Form5.
    await page.goBack();
    await waitShown("#Main Main");
    await page.tap(sel("Main", "Image2"));
    await waitShown("#Form5 Form5");
    assert.deepEqual(await state(page, sel("Form5", "Text1")).then((b) => [b.value, b.focused]), ["", true]);
    assert.equal((await state(page, sel("Form5", "Text2"))).disabled, true);
    // "返回" goes to the menu; About and the instructions open over it.
    await page.tap(sel("Form5", "Label9"));
    await waitShown("#Main Main");
    await page.tap(sel("Main", "Image6"));
    await waitShown("#Form1 Main(inert) Form1");
    await page.goBack();
    await waitShown("#Main Main");
    await page.tap(sel("Main", "Image7"));
    await waitShown("#Form2 Main(inert) Form2");

    // A reload shows the named screen fresh, and Back still closes it.
    await page.reload({ waitUntil: "load" });
    await waitShown("#Form2 Main(inert) Form2");
    await page.goBack();
    await waitShown("#Main Main");
    await page.tap(sel("Main", "Image3"));
    await waitShown("#Form3 Form3");
    await typeKeys(page, "88923");
    await page.reload({ waitUntil: "load" });
    await waitShown("#Form3 Form3");
    assert.equal((await state(page, sel("Form3", "Text1"))).value, "");
    await page.goBack();
    await waitShown("#Main Main");
    assert.deepEqual(errors, []);
});

test("every link opens its address in a new tab, and nothing leaves the machine", async () => {
    site.session.external.length = 0;
    const tap = async (screen, name) => {
        await page.tap(sel(screen, name));
        await page.bringToFront();
    };
    await goTo(page, site.url, "Form5");
    await tap("Form5", "Image2");
    await goTo(page, site.url, "Main");
    await tap("Main", "Image4");
    await tap("Main", "Image5");
    await tap("Main", "Image1");
    await tap("Main", "Image6");
    await tap("Form1", "Image1");
    await goTo(page, site.url, "Form2");
    await tap("Form2", "Image1");
    await tap("Form2", "Image2");
    const deadline = Date.now() + 3000;
    while (site.session.external.length < 5 && Date.now() < deadline) await new Promise((r) => setTimeout(r, 50));
    // Each tap opens its page again; the pictures that react to nothing open nothing.
    assert.deepEqual([...site.session.external].sort(), [links.ShopPage, links.ShopPage, links.ShopPage, links.SecureShopPage, links.ReleaseThreadPage].sort());
    const opened = await page.evaluate(() => performance.getEntriesByType("resource").map((e) => new URL(e.name).origin));
    assert.ok(opened.every((origin) => origin === new URL(site.url).origin), "the page fetches only its own files");
});

test("every screen can be used from the keyboard alone", async () => {
    await goTo(page, site.url, "Form5");
    const tab = async (times = 1) => {
        for (let i = 0; i < times; i++) await page.keyboard.press("Tab");
        return focusedControl(page);
    };
    await typeKeys(page, "dnph7abcdtdk");
    assert.equal(await focusedControl(page), "Form5:Text2");
    await page.keyboard.press("Enter");
    assert.notEqual((await state(page, sel("Form5", "Text3"))).value, "");
    assert.equal(await tab(), "Form5:Command2");
    await page.keyboard.press("Enter");
    await waitShown("#Form4 Form5(inert) Form4");
    assert.equal(await focusedControl(page), "Form4:BUTTON");
    await page.keyboard.press("Enter");
    await waitShown("#Form5 Form5");
    // On to "返回" with Tab alone, then through the menu.
    let control;
    for (let i = 0; i < 30 && control !== "Form5:Label9"; i++) control = await tab();
    assert.equal(control, "Form5:Label9");
    await page.keyboard.press("Enter");
    await waitShown("#Main Main");
    assert.equal(await focusedControl(page), "Main:Image2");
    assert.deepEqual([await tab(), await tab(), await tab(), await tab(), await tab()], ["Main:Image3", "Main:Image7", "Main:Image6", "Main:Image4", "Main:Image5"]);
    await page.keyboard.down("Shift");
    await tab(3);
    await page.keyboard.up("Shift");
    await page.keyboard.press(" ");
    await waitShown("#Form2 Main(inert) Form2");
    assert.equal(await tab(), "Form2:Image2", "the instructions' link follows its close button");
    await page.keyboard.down("Shift");
    await tab();
    await page.keyboard.up("Shift");
    await page.keyboard.press("Enter");
    await waitShown("#Main Main");
    await page.focus(sel("Main", "Image3"));
    await page.keyboard.press("Enter");
    await waitShown("#Form3 Form3");
    await typeKeys(page, "88923abc8m9md128j");
    await page.keyboard.press("Enter");
    assert.notEqual((await state(page, sel("Form3", "Text3"))).value, "");
    assert.deepEqual(errors, []);
});

test("a double tap or a double click is one press: one tab, one screen, one step back, one box", async () => {
    site.session.external.length = 0;
    const point = (selector) => page.$eval(selector, (e) => {
        e.scrollIntoView({ block: "nearest" });
        const b = e.getBoundingClientRect();
        return [b.x + b.width / 2, b.y + b.height / 2];
    });
    const twice = async (selector, how) => {
        const [x, y] = await point(selector);
        if (how === "click") await page.mouse.click(x, y, { count: 2 });
        else for (let i = 0; i < 2; i++) await page.touchscreen.tap(x, y);
        await new Promise((done) => setTimeout(done, 400));
        await page.bringToFront();
    };
    for (const how of ["tap", "click"]) {
        await goTo(page, site.url, "Form5");
        await twice(sel("Form5", "Image2"), how);
        assert.deepEqual(site.session.external, [links.ShopPage], how);
        site.session.external.length = 0;
        await twice(sel("Form5", "Command2"), how);
        await waitShown("#Form4 Form5(inert) Form4");
        await twice("#Form4 button.close", how);
        await waitShown("#Form5 Form5");
        await twice(sel("Form5", "Label9"), how);
        await waitShown("#Main Main");
        await twice(sel("Main", "Image6"), how);
        await waitShown("#Form1 Main(inert) Form1");
        await twice("#Form1 button.close", how);
        await waitShown("#Main Main");
        await twice(sel("Main", "Image3"), how);
        await waitShown("#Form3 Form3");
        await twice(sel("Form3", "Label11"), how);
        await waitShown("#Main Main");
        await twice(sel("Main", "Image2"), how);
        await waitShown("#Form5 Form5");
        assert.deepEqual(site.session.external, [], how);

        // The warranty question once, however fast the taps.
        await typeKeys(page, "dnph7abcdtdk");
        await page.keyboard.press("Enter");
        const shown = await page.evaluate(() => globalThis.QuenlioDialogs.shown.length);
        await twice(sel("Form5", "Command3"), how);
        assert.equal(await page.$$eval("dialog[open]", (open) => open.length), 1);
        assert.equal(await page.evaluate(() => globalThis.QuenlioDialogs.shown.length), shown + 1);
        await page.keyboard.press("Escape");
        await page.waitForFunction((n) => globalThis.QuenlioDialogs.shown.length === n + 2, {}, shown);
        await page.keyboard.press("Escape");
    }
    assert.deepEqual(errors, []);
});

test("Back and a reload with a box up leave a working page, and nothing of the closed screen goes on", async () => {
    const boxes = () => page.evaluate(() => [document.querySelectorAll("dialog[open]").length, globalThis.QuenlioDialogs.shown.length]);
    // Back from Form5's half-year message, from the first of the warranty's two, and from Form3's.
    for (const [screen, keys, tap] of [["Form5", "dnpl7abc1234", null], ["Form5", "dnph7abcdtdk\n", "Command3"], ["Form3", "88323abc8m9", null]]) {
        await goTo(page, site.url, screen);
        await typeKeys(page, keys);
        if (tap) await page.tap(sel(screen, tap));
        await page.waitForSelector("dialog[open]");
        const [, shown] = await boxes();
        await page.goBack();
        await waitShown("#Main Main");
        await new Promise((done) => setTimeout(done, 300));
        assert.deepEqual(await boxes(), [0, shown], `${screen}: the box went with its screen, and no other came`);
        assert.equal(await focusedControl(page), "Main:Image2");
        await page.keyboard.press("Enter");
        await waitShown("#Form5 Form5");
        await typeKeys(page, "dnph7abcdtdk");
        assert.equal((await state(page, sel("Form5", "Text2"))).value, "MD269LL");
    }
    // A reload is a fresh screen with no box.
    await goTo(page, site.url, "Form5");
    await typeKeys(page, "dnpl7abc1234");
    await page.waitForSelector("dialog[open]");
    await page.reload({ waitUntil: "load" });
    await waitShown("#Form5 Form5");
    await page.waitForSelector("html[data-ready]");
    assert.deepEqual(await boxes(), [0, 0]);
    await typeKeys(page, "dnph7abcdtdk");
    assert.equal((await state(page, sel("Form5", "Text2"))).value, "MD269LL");
    assert.deepEqual(errors, []);
});
