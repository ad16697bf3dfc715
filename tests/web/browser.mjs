// Shared helpers of the web tests: the built site on a local server, Debian's chromium headless
// through puppeteer-core, a phone-sized page whose requests never leave the machine.
import { mkdtemp, readFile, rm } from "node:fs/promises";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";

import { startServer } from "../../web/serve.mjs";

// The npm packages live beside web/package.json.
const require = createRequire(new URL("../../web/package.json", import.meta.url));
const puppeteer = require("puppeteer-core");

export const RepoRoot = fileURLToPath(new URL("../../", import.meta.url));
export const SiteFolder = process.env.QUENLIO_SITE ?? join(RepoRoot, "build-web", "site");
export const Chromium = process.env.QUENLIO_CHROMIUM ?? "/usr/bin/chromium";

export const Phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

/** Serves the built site on a free port of 127.0.0.1: { url, origin, close() }. */
export async function serveSite(folder = SiteFolder) {
    const { server, url } = await startServer(folder, 0);
    return {
        url,
        origin: new URL(url).origin,
        close: () => new Promise((done) => server.close(done)),
    };
}

/**
 * Launches headless chromium with a fresh profile. Every request not to `origin` is refused and
 * recorded in `external`, popups (window.open) included; no host name resolves but the local one.
 * Returns { browser, external, close() }.
 */
export async function launchBrowser(origin) {
    const profile = await mkdtemp(join(tmpdir(), "quenlio-chromium-"));
    const browser = await puppeteer.launch({
        executablePath: Chromium,
        headless: true,
        userDataDir: profile,
        args: [
            "--no-sandbox",
            "--disable-gpu",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--no-first-run",
            // Backstops under the interception below: nothing but the local server resolves, and
            // whatever is not on the loopback (an address without a name too) goes to a closed port.
            "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
            "--proxy-server=127.0.0.1:9",
        ],
    });
    const external = [];
    const record = (url) => {
        if (!url || url === "about:blank" || url.startsWith("data:") || url.startsWith("blob:")) return;
        if (new URL(url).origin !== origin && !external.includes(url)) external.push(url);
    };
    const guarded = new WeakMap();
    const guard = (page) => {
        if (!guarded.has(page))
            guarded.set(page, (async () => {
                await page.setRequestInterception(true);
                page.on("request", (request) => {
                    const url = request.url();
                    if (url.startsWith("data:") || url.startsWith("blob:") || new URL(url).origin === origin) {
                        request.continue();
                    } else {
                        record(url);
                        request.abort("blockedbyclient");
                    }
                });
            })());
        return guarded.get(page);
    };
    // A page opened by window.open (with "noopener" it has no opener) may begin loading before it
    // can be guarded: its address is recorded from the target, and the resolver rule keeps it home.
    browser.on("targetcreated", async (target) => {
        if (target.type() !== "page") return;
        record(target.url());
        const page = await target.page().catch(() => null);
        if (page) await guard(page).catch(() => {});
    });
    browser.on("targetchanged", (target) => {
        if (target.type() === "page") record(target.url());
    });
    return {
        browser,
        external,
        guard,
        close: async () => {
            await browser.close();
            await rm(profile, { recursive: true, force: true });
        },
    };
}

/**
 * Opens `url` in a new phone-sized page (390x844, scale 3, touch). Console errors and uncaught
 * exceptions are collected in `errors`. Returns { page, errors }.
 */
export async function openPage(session, url, viewport = Phone) {
    const page = await session.browser.newPage();
    await session.guard(page);
    await page.setViewport(viewport);
    const errors = [];
    page.on("console", (message) => {
        if (message.type() === "error") errors.push(message.text());
    });
    page.on("pageerror", (error) => errors.push(String(error)));
    await page.goto(url, { waitUntil: "load" });
    return { page, errors };
}

/** One server and one browser for a whole test file: { url, session, close() }. */
export async function startSiteAndBrowser() {
    const site = await serveSite();
    const session = await launchBrowser(site.origin);
    return {
        url: site.url,
        session,
        close: async () => {
            await session.close();
            await site.close();
        },
    };
}

let axeSource;
/** axe-core's violations on the page as it stands (or within `selector`): [] when there are none. */
export async function axeViolations(page, selector) {
    axeSource ??= await readFile(require.resolve("axe-core/axe.min.js"), "utf8");
    // Evaluated rather than added as a script element, so a Content Security Policy need not allow it.
    if (!(await page.evaluate(() => typeof window.axe === "object"))) await page.evaluate(axeSource);
    return page.evaluate(async (context) => {
        const results = await window.axe.run(context ?? document);
        return results.violations.map((v) => ({
            id: v.id,
            impact: v.impact,
            help: v.help,
            targets: v.nodes.map((node) => node.target.join(" ")),
        }));
    }, selector ?? null);
}
