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

/**
 * Serves the built site on a free port of 127.0.0.1: { url, origin, holdCore(), close() }. close()
 * also drops the browser's open connections, so after it nothing more is served.
 */
export async function serveSite(folder = SiteFolder) {
    const { server, url } = await startServer(folder, 0);
    // holdCore(): the core is held back, as a slow network would hold it, until the function it
    // returns is called.
    let held = null;
    const [serve] = server.listeners("request");
    server.removeAllListeners("request");
    server.on("request", async (request, response) => {
        if (request.url.includes(".wasm")) await held;
        serve(request, response);
    });
    let closed;
    return {
        url,
        origin: new URL(url).origin,
        holdCore: () => {
            let release;
            held = new Promise((done) => (release = done));
            return () => {
                release();
                held = null;
            };
        },
        close: () => {
            closed ??= new Promise((done) => {
                server.close(done);
                server.closeAllConnections();
            });
            return closed;
        },
    };
}

/**
 * Launches headless chromium with a fresh profile. Every request not to `origin` is refused and
 * recorded in `external`, each time it is made; a popup (window.open) is recorded and closed.
 * Returns { browser, external, guard(page), front, restart(), close() }.
 */
export async function launchBrowser(origin) {
    const profile = await mkdtemp(join(tmpdir(), "quenlio-chromium-"));
    const launch = () => puppeteer.launch({
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
    const browser = await launch();
    const external = [];
    const isExternal = (url) =>
        /^https?:/.test(url ?? "") && new URL(url).origin !== origin;
    const guarded = new WeakMap();
    const guard = (page) => {
        if (!guarded.has(page))
            guarded.set(page, (async () => {
                await page.setRequestInterception(true);
                page.on("request", (request) => {
                    if (isExternal(request.url())) {
                        external.push(request.url());
                        request.abort("blockedbyclient");
                    } else {
                        request.continue();
                    }
                });
            })());
        return guarded.get(page);
    };
    // A page opened by window.open (with "noopener" it has no opener) starts loading before it
    // could be guarded: its address is recorded once from the target, the proxy keeps it home, and
    // it is closed at once, so the page under test stays in front (a page behind another gets no
    // animation frames).
    const popups = new WeakSet();
    const takePopup = async (target) => {
        if (target.type() !== "page" || popups.has(target) || !isExternal(target.url())) return;
        popups.add(target);
        external.push(target.url());
        const popup = await target.page().catch(() => null);
        await popup?.close().catch(() => {});
        await session.front?.bringToFront().catch(() => {});
    };
    const watch = (browser) => {
        browser.on("targetcreated", takePopup);
        browser.on("targetchanged", takePopup);
    };
    watch(browser);
    const session = {
        browser,
        external,
        guard,
        front: null, // the page under test, brought back to the front when a popup is closed
        // Ends the browser and starts it again on the same profile, as a user closing it does.
        restart: async () => {
            await session.browser.close();
            session.browser = await launch();
            session.front = null;
            watch(session.browser);
        },
        close: async () => {
            await session.browser.close();
            await rm(profile, { recursive: true, force: true });
        },
    };
    return session;
}

/**
 * Opens `url` in a new phone-sized page (390x844, scale 3, touch). Console errors, uncaught
 * exceptions and Content Security Policy violations are collected in `errors`.
 * `withoutServiceWorker` opens it as a browser without service workers would (navigator.serviceWorker is gone before any script of the page runs);
 * `context` is the browser context to open it in (the default one where none).
 * Returns { page, errors }.
 */
export async function openPage(session, url, viewport = Phone, { withoutServiceWorker = false, context } = {}) {
    const page = await (context ?? session.browser).newPage();
    session.front = page;
    await session.guard(page);
    await page.setViewport(viewport);
    if (withoutServiceWorker)
        await page.evaluateOnNewDocument(() => delete Navigator.prototype.serviceWorker);
    // A breach of the page's Content Security Policy counts as an error, whether or not the
    // browser logs it.
    await page.evaluateOnNewDocument(() =>
        document.addEventListener("securitypolicyviolation", (e) =>
            console.error(`policy violation: ${e.violatedDirective} ${e.blockedURI}`)));
    const errors = [];
    page.on("console", (message) => {
        if (message.type() === "error") errors.push(message.text());
    });
    page.on("pageerror", (error) => errors.push(String(error)));
    await page.goto(url, { waitUntil: "load" });
    return { page, errors };
}

/** One server and one browser for a whole test file: { url, session, stopServer(), close() }. */
export async function startSiteAndBrowser() {
    const site = await serveSite();
    const session = await launchBrowser(site.origin);
    return {
        url: site.url,
        session,
        stopServer: site.close,
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
