// Shared helpers of the web tests: the built site on a local server; Debian's chromium headless
// through puppeteer-core for the tests of its own controls; axe-core.
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
 * Serves the built site on a free port of 127.0.0.1: { url, origin, holdCore(), fail(), close() }.
 * close() also drops the browser's open connections, so after it nothing more is served.
 */
export async function serveSite(folder = SiteFolder) {
    const { server, url } = await startServer(folder, 0);
    // holdCore(): the core is held back, as a slow network would hold it, until the function it
    // returns is called.
    let held = null;
    // fail(file, times): the next `times` requests for the file (any query; Infinity: all) get a 503.
    const failing = new Map();
    const [serve] = server.listeners("request");
    server.removeAllListeners("request");
    server.on("request", async (request, response) => {
        if (request.url.includes(".wasm")) await held;
        const file = new URL(request.url, url).pathname.slice(1);
        if (!(failing.get(file) > 0)) return serve(request, response);
        failing.set(file, failing.get(file) - 1);
        response.writeHead(503).end();
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
        fail: (file, times) => failing.set(file, times),
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
 * Launches headless chromium with a fresh profile, for the tests of what only chromium's own
 * controls reach (the service worker, the network, a restart): { browser, restart(), close() }.
 * Nothing but the local server resolves, and whatever is not on the loopback goes to a closed port.
 */
export async function launchBrowser() {
    const profile = await mkdtemp(join(tmpdir(), "quenlio-chromium-"));
    const launch = () => puppeteer.launch({
        executablePath: Chromium,
        headless: true,
        userDataDir: profile,
        args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--no-first-run", "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1", "--proxy-server=127.0.0.1:9"],
    });
    const session = {
        browser: await launch(),
        // Ends the browser and starts it again on the same profile, as a user closing it does.
        restart: async () => {
            await session.browser.close();
            session.browser = await launch();
        },
        close: async () => {
            await session.browser.close();
            await rm(profile, { recursive: true, force: true });
        },
    };
    return session;
}

/**
 * Opens `url` in a new phone-sized page of `session` (or of `context`). Console errors, uncaught
 * exceptions and Content Security Policy violations are collected in `errors`.
 * `withoutServiceWorker` opens it as a browser without service workers would. Returns { page, errors }.
 */
export async function openPage(session, url, { withoutServiceWorker = false, context } = {}) {
    const page = await (context ?? session.browser).newPage();
    await page.setViewport(Phone);
    if (withoutServiceWorker) await page.evaluateOnNewDocument(() => delete Navigator.prototype.serviceWorker);
    await page.evaluateOnNewDocument(() =>
        document.addEventListener("securitypolicyviolation", (e) => console.error(`policy violation: ${e.violatedDirective} ${e.blockedURI}`)));
    const errors = [];
    page.on("console", (message) => message.type() === "error" && errors.push(message.text()));
    page.on("pageerror", (error) => errors.push(String(error)));
    await page.goto(url, { waitUntil: "load" });
    return { page, errors };
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
