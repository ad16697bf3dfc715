// Photographs the page into docs/screenshots/web-*.png: node tests/web/screenshots.mjs
// (after scripts/web). Not a test: run it when the page's looks change, then look at them.
import { join } from "node:path";

import { RepoRoot, openPage, startSiteAndBrowser } from "./browser.mjs";
import { goTo, openBox, sel, typeKeys } from "./scenario.mjs";

const out = (name) => join(RepoRoot, "docs", "screenshots", `web-${name}.png`);
const site = await startSiteAndBrowser();
try {
    const { page } = await openPage(site.session, site.url);
    await goTo(page, site.url, "Form5");
    await typeKeys(page, "c7gk1abc1234md297ch");
    await page.tap(sel("Form5", "Command1"));
    await page.evaluate(() => document.querySelector("#Form5 [data-control=Frame2]").scrollIntoView());
    await page.screenshot({ path: out("form5-query") });
    await goTo(page, site.url, "Main");
    await page.screenshot({ path: out("main") });
    await goTo(page, site.url, "Form3");
    await typeKeys(page, "88923abc8m9md128j");
    await page.tap(sel("Form3", "Command1"));
    await page.screenshot({ path: out("form3") });
    await goTo(page, site.url, "Form5");
    await typeKeys(page, "dnpl7abc1234");
    await openBox(page);
    await page.screenshot({ path: out("message") });
    await page.setViewport({ width: 1280, height: 800 });
    await goTo(page, site.url, "Form5");
    await typeKeys(page, "dnph7abcdtdk");
    await page.keyboard.press("Enter");
    await page.screenshot({ path: out("form5-desktop") });
} finally {
    await site.close();
}
