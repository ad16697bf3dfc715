// Photographs the page into docs/screenshots/web-*.png: node tests/web/screenshots.mjs (after
// scripts/web), in chromium. Not a test: run it when the page's looks change, then look at them.
import { execFileSync } from "node:child_process";
import { mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { RepoRoot } from "./browser.mjs";
import { launch, startSite } from "./driver.mjs";
import { goTo, openBox } from "./scenario.mjs";

const out = (name) => join(RepoRoot, "docs", "screenshots", `web-${name}.png`);
const site = await startSite();
const session = await launch("chromium", { origin: site.origin });
try {
    const shoot = async (viewport, screen, keys, name, scrollTo) => {
        const page = await session.newPage(viewport);
        await goTo(page, site.url, screen);
        if (keys) await page.type(keys);
        if (scrollTo) await page.evaluate((s) => document.querySelector(s).scrollIntoView(), scrollTo);
        if (name === "message") await openBox(page);
        await page.screenshot(out(name));
        await page.close();
    };
    const phone = undefined;
    const small = { width: 320, height: 568 };
    await shoot(phone, "Form5", "c7gk1abc1234md297ch\n", "form5-query", "#Form5 [data-control=Frame2]");
    await shoot(small, "Form5", "f1rjp3xydtf9\n", "form5-query-320", "#Form5 [data-control=Frame2]");
    await shoot(phone, "Main", "", "main");
    await shoot(phone, "Form3", "88923abc8m9md128j\n", "form3");
    await shoot(small, "Form3", "88923abc3npmd128j\n", "form3-320");
    await shoot(phone, "Form5", "dnpl7abc1234", "message");
    await shoot({ width: 1280, height: 800, deviceScaleFactor: 1, isMobile: false, hasTouch: false }, "Form5", "dnph7abcdtdk\n", "form5-desktop");
    // The scan box, the camera looking at a label not yet sharp enough to read.
    const folder = mkdtempSync(join(tmpdir(), "quenlio-shot-"));
    execFileSync("bash", [join(RepoRoot, "tests/reader/draw_labels.sh"), folder]);
    execFileSync("convert", [join(folder, "label.png"), "-resize", "560x420", "-blur", "0x5", "-background", "#d9d4c8", "-gravity", "center", "-extent", "640x480", join(folder, "frame.png")]);
    execFileSync("ffmpeg", ["-loglevel", "error", "-y", "-loop", "1", "-i", join(folder, "frame.png"), "-t", "1", "-r", "10", "-pix_fmt", "yuv420p", join(folder, "frame.y4m")]);
    const camera = await launch("chromium", { origin: site.origin, camera: join(folder, "frame.y4m") });
    const page = await camera.newPage();
    await goTo(page, site.url, "Form5");
    await page.tap("#Form5 [data-control=Scan]");
    await page.waitFor(() => document.querySelector("#ScanBox video").readyState >= 2, { message: "the camera's picture", timeout: 10000 });
    await new Promise((done) => setTimeout(done, 500));
    await page.screenshot(out("scan"));
    await camera.close();
    rmSync(folder, { recursive: true, force: true });
} finally {
    await session.close();
    await site.close();
}
