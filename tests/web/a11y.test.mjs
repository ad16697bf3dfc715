// axe-core on every screen of the page and on an open message box and input box, at a
// phone's size and in a desktop window; and no sideways scrolling on the smallest phone.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";

import { axeViolations, openPage, startSiteAndBrowser } from "./browser.mjs";
import { goTo, openBox, answerBox, sel, typeKeys } from "./scenario.mjs";

let site, page;
before(async () => {
    site = await startSiteAndBrowser();
    ({ page } = await openPage(site.session, site.url));
});
after(() => site?.close());

const Screens = ["Form5", "Main", "Form3", "Form1", "Form2", "Form4"];

test("no violation on any screen, at 360x640 and in a desktop window, and nothing wider than the phone", async () => {
    for (const viewport of [{ width: 360, height: 640, deviceScaleFactor: 2, isMobile: true, hasTouch: true }, { width: 1280, height: 800 }]) {
        await page.setViewport(viewport);
        for (const screen of Screens) {
            await goTo(page, site.url, screen);
            assert.deepEqual(await axeViolations(page), [], `${screen} at ${viewport.width}`);
            const width = await page.evaluate(() => document.documentElement.scrollWidth);
            assert.ok(width <= viewport.width, `${screen} is ${width} wide at ${viewport.width}`);
            // Every control a finger can reach is 44 pixels square at least.
            const small = await page.$$eval(`#${screen} button, #${screen} input`, (all) =>
                all.map((e) => [e.dataset.control ?? e.className, e.getBoundingClientRect()]).filter(([, r]) => r.width < 44 || r.height < 44).map(([n]) => n));
            assert.deepEqual(small, [], `${screen}: touch targets`);
        }
    }
});

test("no violation with a message box or the input box open", async () => {
    await goTo(page, site.url, "Form5");
    await typeKeys(page, "dnpl7abc1234");
    await openBox(page);
    assert.deepEqual(await axeViolations(page), []);
    await answerBox(page, "确定");
    await typeKeys(page, "dnph7abcdtdk");
    await page.tap(sel("Form5", "Command1"));
    await page.focus(sel("Form5", "Text8"));
    await typeKeys(page, "2013-11-11");
    await page.tap(sel("Form5", "Command6"));
    await page.tap(sel("Form5", "Command7"));
    const box = await openBox(page);
    assert.equal(box.id, "InputBox");
    assert.deepEqual(await axeViolations(page), []);
    await answerBox(page, "取消");
});
