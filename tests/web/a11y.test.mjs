// axe-core on every screen of the page and on an open message box and input box, at a
// phone's size and in a desktop window; and no sideways scrolling on the smallest phone.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";

import { axeViolations, openPage, startSiteAndBrowser } from "./browser.mjs";
import { Screens } from "./scenario.mjs";

let site, page;
before(async () => {
    site = await startSiteAndBrowser();
    ({ page } = await openPage(site.session, site.url));
});
after(() => site?.close());

// Opens the page at `#/screen` and waits until it is wired.
async function goTo(page, url, screen) {
    await page.goto("about:blank");
    await page.goto(`${url}#/${screen}`, { waitUntil: "load" });
    await page.waitForSelector(`html[data-ready] #${screen}`);
}

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
    await page.keyboard.type("dnpl7abc1234");
    await page.waitForSelector("dialog#MessageBox[open]");
    assert.deepEqual(await axeViolations(page), []);
    await page.keyboard.press("Enter");
    await page.keyboard.type("dnph7abcdtdk\n");
    await page.focus("#Form5 [data-control=Text8]");
    await page.keyboard.type("2013-11-11\n");
    await page.tap("#Form5 [data-control=Command7]");
    await page.waitForSelector("dialog#InputBox[open]");
    assert.deepEqual(await axeViolations(page), []);
    await page.keyboard.press("Escape");
});
