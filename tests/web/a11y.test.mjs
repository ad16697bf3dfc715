// axe-core on every screen of the page and on an open message box, input box and scan box, at a phone's
// size and in a desktop window, in chromium (axe is evaluated through its DevTools, past the page's
// policy); and every control a finger can reach 44 pixels square at least.
import { test } from "node:test";
import assert from "node:assert/strict";

import { axeViolations } from "./browser.mjs";
import { Screens, eachEngine, goTo, openBox, answerBox, sel } from "./scenario.mjs";

eachEngine("Accessibility", (f) => {
    test("no violation on any screen, at 360x640 and in a desktop window; touch targets of 44 pixels", async () => {
        for (const viewport of [{ width: 360, height: 640 }, { width: 1280, height: 800, deviceScaleFactor: 1, isMobile: false, hasTouch: false }]) {
            const page = await f.session.newPage(viewport);
            for (const screen of Screens) {
                await goTo(page, f.url, screen);
                assert.deepEqual(await axeViolations(page.native), [], `${screen} at ${viewport.width}`);
                const small = await page.evaluate((s) =>
                    [...document.querySelectorAll(`#${s} button, #${s} input`)].map((e) => [e.dataset.control ?? e.className, e.getBoundingClientRect()])
                        .filter(([, r]) => r.width < 44 || r.height < 44).map(([n]) => n), screen);
                assert.deepEqual(small, [], `${screen}: touch targets`);
            }
            await page.close();
        }
    });

    test("no violation with a message box or the input box open", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form5");
        await page.type("dnpl7abc1234");
        await openBox(page);
        assert.deepEqual(await axeViolations(page.native), []);
        await answerBox(page, "确定");
        await page.type("dnph7abcdtdk\n");
        await page.focus(sel("Form5", "Text8"));
        await page.type("2013-11-11\n");
        await page.tap(sel("Form5", "Command7"));
        assert.equal((await openBox(page)).id, "InputBox");
        assert.deepEqual(await axeViolations(page.native), []);
        await answerBox(page, "取消");
        // The scan box, here offering a photo (this browser has no camera).
        await page.tap(sel("Form5", "Scan"));
        await page.waitFor(() => document.querySelector("#ScanBox [data-answer=photo]:not([hidden])"), { message: "the photo offered", timeout: 10000 });
        assert.deepEqual(await axeViolations(page.native), []);
        await answerBox(page, "取消");
    });
}, { engines: ["chromium"] });
