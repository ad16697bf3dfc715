// The page keeps copies of the desktop's texts (captions, labels, pictures' descriptions,
// messages and titles); each must be the desktop's, character for character.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";

import { RepoRoot } from "./browser.mjs";
import { launch, startSite } from "./driver.mjs";
import { Texts } from "../../web/site/texts.js";

const Sources = { Form5: "form5.cpp", Main: "main_menu.cpp", Form3: "form3.cpp", Form1: "form1.cpp", Form2: "form2.cpp", Form4: "form4.cpp" };
// The literal texts of a desktop source file, adjacent literals joined as the compiler joins them,
// and the scan's texts, which the screens take from core.
const literals = (path, pattern) =>
    [...readFileSync(join(RepoRoot, path), "utf8").replace(/"\s*\n\s*"/g, "").matchAll(pattern)].map((m) => m[1]);
const scanTexts = literals("core/label.hpp", /std::string_view \w+ = "((?:[^"\\]|\\.)*)"/g);
const desktopTexts = (file) => new Set([...literals(`ui/${file}`, /QStringLiteral\("((?:[^"\\]|\\.)*)"\)/g), ...scanTexts]);
const version = readFileSync(join(RepoRoot, "CMakeLists.txt"), "utf8").match(/project\(Quenlio VERSION ([0-9.]+)/)[1];

let site, session, page;
before(async () => {
    site = await startSite();
    session = await launch("chromium", { origin: site.origin });
    page = await session.newPage();
    await page.goto(site.url);
});
after(async () => {
    await session?.close();
    await site?.close();
});

test("every message and title is the desktop's", () => {
    const desktop = new Set([...desktopTexts("form5.cpp"), ...desktopTexts("form3.cpp")]);
    for (const [name, text] of Object.entries(Texts)) assert.ok(desktop.has(text), `${name}: ${text}`);
});

test("every caption, label and picture description of the six screens is the desktop's", async () => {
    const screens = await page.evaluate(() =>
        Object.fromEntries([...document.querySelectorAll("template[id^=screen-]")].map((template) => {
            const view = template.content.firstElementChild;
            const texts = [[view.id, view.querySelector(".caption").textContent]];
            for (const control of view.querySelectorAll("[data-control]")) {
                const text = control.matches("fieldset") ? control.querySelector("legend").textContent
                    : control.matches("img") ? control.alt
                    : control.querySelector("img")?.alt ?? control.textContent;
                texts.push([control.dataset.control, text]);
            }
            return [view.id, texts];
        })));
    // The scan box, over either query screen.
    screens.Form5.push(["ScanBox", await page.evaluate(() => document.getElementById("ScanBox-title").textContent)]);
    assert.deepEqual(Object.keys(screens).sort(), Object.keys(Sources).sort());
    for (const [screen, texts] of Object.entries(screens)) {
        const desktop = desktopTexts(Sources[screen]);
        for (const [control, text] of texts) {
            // Text boxes have no text of their own; About's description carries the version.
            if (/^Text\d+$/.test(control)) continue;
            const about = screen === "Form1" && control === "Image1" ? `Quenlio ${version}${[...desktop].find((t) => t.startsWith("，"))}` : null;
            assert.ok(desktop.has(text) || text === about, `${screen} ${control}: ${text}`);
        }
    }
});
