// Moving between the screens of the page in each engine: the menu, fresh query screens, screens
// opened over another and closed back to it, the browser's Back and a reload, the links, the
// keyboard, the start before the core has arrived, and the screens' places at 320 pixels.
import { test } from "node:test";
import assert from "node:assert/strict";

import * as links from "../../build-web/site/links.js";
import { Screens, countBoxes, eachEngine, focusedControl, goTo, sel, state, until, values } from "./scenario.mjs";

eachEngine("Navigation", (f) => {
    // The address and the screens on the page, "(inert)" after one kept from input.
    const shown = (expected) =>
        f.page.waitFor((e) => {
            const now = [location.hash, ...[...document.querySelectorAll("section.screen")].map((s) => s.id + (s.inert ? "(inert)" : ""))].join(" ");
            return now === e && document.documentElement.hasAttribute("data-ready") ? now : false;
        }, { message: `the page to show ${expected}` }, expected);

    test("Back closes a screen opened over another and goes from a query screen to the menu; a reload is fresh", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form5");
        await page.type("dnph7abcdtdk");
        // 查看方法 opens Form4 over Form5; Back closes it and Form5 is as it was, the focus on the button.
        await page.tap(sel("Form5", "Command2"));
        await shown("#/Form4 Form5(inert) Form4");
        await page.back();
        await shown("#/Form5 Form5");
        assert.deepEqual(await values(page, "Form5", "Text2"), ["MD269LL"]);
        assert.equal(await focusedControl(page), "Form5:Command2");
        await page.tap(sel("Form5", "Command2"));
        await shown("#/Form4 Form5(inert) Form4");
        await page.tap("#Form4 button.close");
        await shown("#/Form5 Form5");

        // Back from the start screen is the menu; the menu opens a fresh Form5.
        await page.back();
        await shown("#/Main Main");
        await page.tap(sel("Main", "Image2"));
        await shown("#/Form5 Form5");
        assert.deepEqual(await state(page, sel("Form5", "Text1")).then((b) => [b.value, b.focused]), ["", true]);
        // "返回" goes to the menu; About and the instructions open over it; a reload keeps the one named.
        await page.tap(sel("Form5", "Label9"));
        await shown("#/Main Main");
        await page.tap(sel("Main", "Image6"));
        await shown("#/Form1 Main(inert) Form1");
        await page.back();
        await shown("#/Main Main");
        await page.tap(sel("Main", "Image7"));
        await shown("#/Form2 Main(inert) Form2");
        await page.reload();
        await shown("#/Form2 Main(inert) Form2");
        await page.back();
        await shown("#/Main Main");
        await page.tap(sel("Main", "Image3"));
        await shown("#/Form3 Form3");
        await page.type("88923");
        await page.reload();
        await shown("#/Form3 Form3");
        assert.deepEqual(await values(page, "Form3", "Text1"), [""]);
        await page.back();
        await shown("#/Main Main");
        assert.deepEqual(page.errors, []);
    });

    test("every link opens its address in a new tab, each press once; a double click or tap is one press", async () => {
        const { page } = f;
        const press = async (screen, name, how = "tap") => {
            if (how === "double") await page.click(sel(screen, name), { count: 2 });
            else await page.tap(sel(screen, name));
        };
        await goTo(page, f.url, "Form5");
        await press("Form5", "Image2");
        await press("Form5", "Image2", "double");
        await goTo(page, f.url, "Main");
        for (const name of ["Image4", "Image5", "Image1"]) await press("Main", name);
        await press("Main", "Image6", "double");
        await shown("#/Form1 Main(inert) Form1");
        await press("Form1", "Image1");
        // A double click on the close button goes back once, to the menu and no further.
        await page.click("#Form1 button.close", { count: 2 });
        await shown("#/Main Main");
        await press("Main", "Image7");
        await press("Form2", "Image1");
        await press("Form2", "Image2", "double");
        await until(() => page.opened.length >= 6, "six tabs");
        await shown("#/Form2 Main(inert) Form2");
        // The pictures that react to nothing opened nothing: the last tab, opened after them, is the release thread's.
        assert.deepEqual(page.opened.splice(0), [links.ShopPage, links.ShopPage, links.ShopPage, links.ShopPage, links.SecureShopPage, links.ReleaseThreadPage]);
        const origins = await page.evaluate(() => performance.getEntriesByType("resource").map((e) => new URL(e.name).origin));
        assert.ok(origins.every((origin) => origin === new URL(f.url).origin), "the page fetches only its own files");
    });

    test("every screen can be used from the keyboard alone, the serial first in Form5's tab order", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form5");
        // With no tabindex on the page, the tab order is the order of the controls in it.
        const first = await page.evaluate(() => [...document.querySelectorAll("#Form5 input, #Form5 textarea, #Form5 button")].find((e) => !e.disabled && e.tabIndex >= 0 && e.offsetWidth)?.dataset.control);
        assert.deepEqual([first, await page.evaluate(() => document.querySelector("[tabindex]"))], ["Text1", null]);
        await page.type("dnph7abcdtdk\n");
        assert.notDeepEqual(await values(page, "Form5", "Text3"), [""]);
        await page.press("Tab");
        assert.equal(await focusedControl(page), "Form5:Command2");
        await page.press("Enter");
        await shown("#/Form4 Form5(inert) Form4");
        await page.press("Enter");
        await shown("#/Form5 Form5");
        // On to "返回" with Tab alone, then through the menu.
        let control;
        for (let i = 0; i < 30 && control !== "Form5:Label9"; i++) {
            await page.press("Tab");
            control = await focusedControl(page);
        }
        assert.equal(control, "Form5:Label9");
        await page.press("Enter");
        await shown("#/Main Main");
        const order = [await focusedControl(page)];
        for (let i = 0; i < 5; i++) {
            await page.press("Tab");
            order.push(await focusedControl(page));
        }
        assert.deepEqual(order, ["Main:Image2", "Main:Image3", "Main:Image7", "Main:Image6", "Main:Image4", "Main:Image5"]);
        for (let i = 0; i < 3; i++) await page.chord("Shift", "Tab");
        await page.press(" ");
        await shown("#/Form2 Main(inert) Form2");
        await page.press("Enter");
        await shown("#/Main Main");
        await page.focus(sel("Main", "Image3"));
        await page.press("Enter");
        await shown("#/Form3 Form3");
        await page.type("88923abc8m9md128j\n");
        assert.notDeepEqual(await values(page, "Form3", "Text3"), [""]);
        assert.deepEqual(page.errors, []);
    });

    test("Back and a reload with a box up leave a working page, and nothing of the closed screen goes on", async () => {
        const { page } = f;
        // Back from Form5's half-year message, from the first of the warranty's two, and from Form3's.
        for (const [screen, keys, tap] of [["Form5", "dnpl7abc1234", null], ["Form5", "dnph7abcdtdk\n", "Command3"], ["Form3", "88323abc8m9", null]]) {
            await goTo(page, f.url, screen);
            await page.type(keys);
            if (tap) await page.tap(sel(screen, tap));
            await page.waitFor(() => document.querySelector("dialog[open]"), { message: "a box" });
            await page.back();
            await shown("#/Main Main");
            // The box closed with its screen, and the menu takes the keys: Enter opens a fresh Form5.
            await page.waitFor(() => window.boxesClosed === 1 && !document.querySelector("dialog[open]"), { message: `${screen}'s box closed` });
            assert.equal(await focusedControl(page), "Main:Image2");
            await page.press("Enter");
            await shown("#/Form5 Form5");
            await page.type("dnph7abcdtdk");
            assert.deepEqual(await values(page, "Form5", "Text2"), ["MD269LL"]);
            // Nothing the closed screen asked came after it.
            assert.equal(await page.evaluate(() => [window.boxesClosed, document.querySelectorAll("dialog[open]").length].join()), "1,0", screen);
        }
        await goTo(page, f.url, "Form5");
        await page.type("dnpl7abc1234");
        await page.waitFor(() => document.querySelector("dialog[open]"), { message: "a box" });
        await page.reload();
        await shown("#/Form5 Form5");
        await countBoxes(page);
        await page.type("dnph7abcdtdk");
        assert.deepEqual(await values(page, "Form5", "Text2"), ["MD269LL"]);
        assert.deepEqual(page.errors, []);
    });

    test("before the core has arrived keys are held and taken by the screen when it is wired; an address moved meanwhile wins", async () => {
        const { page } = f;
        // Held, without the service worker of the earlier visits, which would answer with the core at once.
        const holdCore = async () => {
            await page.evaluate(async () => {
                for (const registration of (await navigator.serviceWorker?.getRegistrations()) ?? []) await registration.unregister();
            });
            return f.site.holdCore();
        };
        for (const [screen, keys, expected] of [["Form5", "c8qh5abc1234md239ch", ["C8QH5ABC1234", "MD239CH"]], ["Form3", "5k923abc8m9md128j", ["5K923ABC8M9", "MD128J"]]]) {
            const release = await holdCore();
            await page.goto("about:blank");
            await page.goto(`${f.url}#/${screen}`);
            await page.waitFor((s) => document.activeElement?.matches(`#${s} [data-control=Text1]`), { message: "the early serial box focused" }, screen);
            await page.type(keys);
            // Nothing runs before the core: the keys are held, unseen, no lower case shown.
            assert.deepEqual(await page.evaluate((s) => [document.documentElement.hasAttribute("data-ready"), document.querySelector(`#${s} [data-control=Text1]`).value], screen), [false, ""]);
            release();
            await shown(`#/${screen} ${screen}`);
            assert.deepEqual(await values(page, screen, "Text1", "Text2"), expected, screen);
            assert.equal(await focusedControl(page), `${screen}:Text2`);
        }
        // Back to the menu before the core came: the menu alone, no query screen left on the page.
        const release = await holdCore();
        await page.reload();
        await page.waitFor(() => document.getElementById("Form3"), { message: "the early Form3" });
        await page.back();
        release();
        await shown("#/Main Main");
        assert.deepEqual(page.errors, []);
    });

    test("at 320 pixels with the text at 150 %: every result and caption whole, nothing sideways, the screens' places", async () => {
        const { page } = f;
        const page320 = await f.session.newPage({ width: 320, height: 568 });
        try {
            for (const screen of Screens) {
                await goTo(page320, f.url, screen);
                await page320.evaluate(() => (document.documentElement.style.fontSize = "150%"));
                if (screen === "Form5") await page320.type("f1rjp3xydtf9\n");
                if (screen === "Form3") await page320.type("88923abc3npmd128j\n");
                const cut = await page320.evaluate((s) =>
                    [...document.querySelectorAll(`#${s} label, #${s} legend, #${s} textarea, #${s} input, #${s} .caption, #${s} .path, #${s} .help span, #${s} button:not(.picture)`)]
                        .filter((e) => e.scrollWidth > e.clientWidth + 1 || e.scrollHeight > e.clientHeight + 1)
                        .map((e) => `${e.dataset.control ?? e.tagName}: ${e.value ?? e.textContent}`), screen);
                assert.deepEqual(cut, [], `${screen}: cut off`);
                const [width, room] = await page320.evaluate(() => [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
                assert.ok(width <= room, `${screen} scrolls sideways: ${width} in ${room}`);
            }
            // "设置→通用→关于本机→序列号、型号" breaks only after an arrow or the comma: no line starts inside a word.
            await goTo(page320, f.url, "Form4");
            await page320.evaluate(() => (document.documentElement.style.fontSize = "150%"));
            const lines = await page320.evaluate(() => {
                const path = document.querySelector("#Form4 .path");
                const range = document.createRange();
                const starts = [];
                let top = null;
                for (const node of path.childNodes)
                    for (let i = 0; node.nodeType === 3 && i < node.length; i++) {
                        range.setStart(node, i);
                        range.setEnd(node, i + 1);
                        const y = Math.round(range.getBoundingClientRect().top);
                        if (y !== top) starts.push(node.data[i]);
                        top = y;
                    }
                return starts;
            });
            assert.ok(lines.every((first) => "设通关序型".includes(first)), `lines start with ${lines}`);
        } finally {
            await page320.close();
        }
        // Form3's Label10 below its Label9; Form5's Command7 in the lower middle of Frame3.
        await goTo(page, f.url, "Form3");
        const [label9, label10] = await page.evaluate(() => ["Label9", "Label10"].map((n) => document.querySelector(`#Form3 [data-control=${n}]`).getBoundingClientRect().toJSON()));
        assert.ok(label10.top >= label9.bottom - 1, "Label10 below Label9");
        await goTo(page, f.url, "Form5");
        const [frame, command6, command7] = await page.evaluate(() => ["Frame3", "Command6", "Command7"].map((n) => document.querySelector(`#Form5 [data-control=${n}]`).getBoundingClientRect().toJSON()));
        assert.ok(command7.top >= command6.bottom && command7.bottom <= frame.bottom, "Command7 in the frame, below its buttons");
        assert.ok(Math.abs(command7.left + command7.right - frame.left - frame.right) < 4, "Command7 in the middle");
        // The hand pointer: the clickable pictures and link labels, not the buttons or the contact badge.
        const cursors = await page.evaluate(() => Object.fromEntries(["Image2", "Label9", "Command1", "Command2"].map((n) => [n, getComputedStyle(document.querySelector(`#Form5 [data-control=${n}]`)).cursor])));
        assert.deepEqual(cursors, { Image2: "pointer", Label9: "pointer", Command1: "default", Command2: "default" });
    });
});
