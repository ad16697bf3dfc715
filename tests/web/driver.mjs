// One way for the page tests to drive the page in three engines, each test written once:
// chromium (puppeteer-core over CDP), firefox-esr (puppeteer-core over WebDriver BiDi) and
// WebKitGTK (WebKitWebDriver over W3C WebDriver, MiniBrowser on the display of scripts/with-display).
// Every request that is not to the site's origin goes to 127.0.0.1:9, where nothing listens.
import { spawn } from "node:child_process";
import { mkdir, mkdtemp, rm, writeFile } from "node:fs/promises";
import { createRequire } from "node:module";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { serveSite } from "./browser.mjs";

// The npm packages live beside web/package.json.
const require = createRequire(new URL("../../web/package.json", import.meta.url));
const puppeteer = require("puppeteer-core");
const { Builder, By } = require("selenium-webdriver");
const { Command } = require("selenium-webdriver/lib/command");

const Known = ["chromium", "firefox", "webkit"];
/** The engines a test file runs in, from QUENLIO_ENGINES ("chromium,firefox,webkit" by default). */
export const Engines = (process.env.QUENLIO_ENGINES ?? Known.join(","))
    .split(",")
    .map((name) => name.trim())
    .filter((name) => name !== "");
for (const name of Engines)
    if (!Known.includes(name)) throw new Error(`QUENLIO_ENGINES: unknown engine "${name}" (known: ${Known.join(", ")})`);

const Programs = {
    chromium: process.env.QUENLIO_CHROMIUM ?? "/usr/bin/chromium",
    firefox: process.env.QUENLIO_FIREFOX ?? "/usr/bin/firefox-esr",
    webkitDriver: "/usr/bin/WebKitWebDriver",
    miniBrowser: "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser",
};

// What each engine's driver can do here, as tried on Debian 12's packages.
const Supports = {
    chromium: { touch: true, clipboard: true, serviceWorkerControl: true, cdp: true, consoleBeforeLoad: true, autoRepeat: true },
    // Touch taps arrive as touch events; BiDi's log sees every document from its start.
    firefox: { touch: true, clipboard: true, serviceWorkerControl: false, cdp: false, consoleBeforeLoad: true, autoRepeat: true },
    // WebKitGTK turns a touch pointer into mouse events and drops a keydown of a key already down;
    // classic WebDriver has no console, so errors come from a listener added once a document is up.
    webkit: { touch: false, clipboard: true, serviceWorkerControl: false, cdp: false, consoleBeforeLoad: false, autoRepeat: false },
};

// Keys typed as a fast person types them, this many ms apart (a hand scanner's are a few ms apart,
// and the page takes a burst of them as one scanned code).
const PersonKeyDelay = 70;

export const Phone = { width: 390, height: 844 };
const ClosedPort = 9;

/** Serves the built site (QUENLIO_SITE, or build-web/site) on 127.0.0.1: { url, origin, close() }. */
export const startSite = (folder) => serveSite(folder);

/**
 * Starts `engine` with a fresh profile: { engine, supports, newPage(viewport?), close(), ... }.
 * `camera`: chromium's fake camera playing that Y4M file, allowed; otherwise the page is refused
 * the camera (or has none), as the engine does it.
 */
export async function launch(engine, { origin, camera = null }) {
    if (engine === "webkit") return launchWebKit(origin);
    if (engine === "chromium" || engine === "firefox") return launchPuppeteer(engine, origin, camera);
    throw new Error(`unknown engine ${engine}`);
}

// --- what both kinds of page share -----------------------------------------------------------

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// The centre of the element `selector` names, in the viewport, once scrolled into view.
function centreOf(selector) {
    const element = document.querySelector(selector);
    if (!element) return null;
    element.scrollIntoView({ block: "center", inline: "center" });
    const r = element.getBoundingClientRect();
    return [Math.round(r.x + r.width / 2), Math.round(r.y + r.height / 2)];
}

class BasePage {
    errors = [];
    opened = [];

    async #centre(selector) {
        const point = await this.evaluate(centreOf, selector);
        if (!point) throw new Error(`no element ${selector}`);
        return point;
    }

    // An element found counts as true: engines pass a DOM node back each its own way.
    async waitFor(fn, { timeout = 5000, message = "waitFor timed out" } = {}, ...args) {
        const source = `(async () => { const v = await (${fn})(...${JSON.stringify(args)}); return v instanceof Node ? true : v; })()`;
        const deadline = Date.now() + timeout;
        let last;
        for (;;) {
            try {
                last = await this.evaluateSource(source);
                if (last) break;
            } catch (error) {
                // A document going away under the call is a moment of a navigation, not a result.
                last = `(threw) ${error.message}`;
            }
            if (Date.now() > deadline) throw new Error(`${message} (last value: ${JSON.stringify(last)})`);
            await sleep(50);
        }
        await this.settle();
        return last;
    }

    // An in-page history step fires no load: done once the address has changed and the
    // document (a new one, where the step left the page) has loaded.
    async #historyStep(delta) {
        const before = await this.evaluate(() => location.href);
        // Later, so that the call has returned before a step to another document begins.
        await this.evaluate((d) => void setTimeout(() => history.go(d)), delta);
        await this.waitFor((href) => location.href !== href && document.readyState === "complete",
            { message: `history.go(${delta}) from ${before}` }, before);
    }
    back() { return this.#historyStep(-1); }
    forward() { return this.#historyStep(1); }

    insertText(text) {
        return this.evaluate((t) => document.execCommand("insertText", false, t), text);
    }

    focus(selector) {
        return this.evaluate((s) => {
            const element = document.querySelector(s);
            if (!element) throw new Error(`no element ${s}`);
            element.focus();
        }, selector);
    }

    async tap(selector) {
        const [x, y] = await this.#centre(selector);
        return this.tapAt(x, y);
    }

    async click(selector, { count = 1 } = {}) {
        const [x, y] = await this.#centre(selector);
        return this.clickAt(x, y, { count });
    }

    async evaluate(fn, ...args) {
        const result = await this.evaluateOnce(fn, args);
        await this.settle();
        return result;
    }
}

// --- chromium and firefox, through puppeteer-core ---------------------------------------------

const FirefoxPrefs = {
    // Everything but the loopback goes to a closed port (Firefox never proxies the loopback).
    "network.proxy.type": 1,
    "network.proxy.http": "127.0.0.1",
    "network.proxy.http_port": ClosedPort,
    "network.proxy.ssl": "127.0.0.1",
    "network.proxy.ssl_port": ClosedPort,
    "network.proxy.socks_remote_dns": true,
    "network.trr.mode": 5,
    "network.dns.disablePrefetch": true,
    "network.prefetch-next": false,
    "network.http.speculative-parallel-limit": 0,
    "network.captive-portal-service.enabled": false,
    "network.connectivity-service.enabled": false,
    "browser.safebrowsing.malware.enabled": false,
    "browser.safebrowsing.phishing.enabled": false,
    "browser.safebrowsing.downloads.enabled": false,
    // A new tab shows the address it was given, not an https:// one it was upgraded to.
    "dom.security.https_first": false,
    "dom.w3c_touch_events.enabled": 1,
    // A camera there, and the page refused it.
    "media.navigator.streams.fake": true,
    "permissions.default.camera": 2,
};

function puppeteerOptions(engine, profile, camera) {
    if (engine === "firefox")
        return { browser: "firefox", executablePath: Programs.firefox, headless: true, userDataDir: profile, extraPrefsFirefox: FirefoxPrefs };
    return {
        executablePath: Programs.chromium,
        headless: true,
        userDataDir: profile,
        args: [
            "--no-sandbox",
            "--disable-gpu",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--no-first-run",
            // Nothing but the local server resolves, and whatever is not on the loopback (an
            // address without a name too) goes to a closed port.
            "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
            `--proxy-server=127.0.0.1:${ClosedPort}`,
            // A camera there: playing `camera` and allowed, or refused.
            "--use-fake-device-for-media-stream",
            ...(camera ? ["--use-fake-ui-for-media-stream", `--use-file-for-fake-video-capture=${camera}`] : ["--deny-permission-prompts"]),
        ],
    };
}

// The outside address a new tab was opened at, or null for one of ours. Firefox shows its
// error page at once, with the address it could not reach inside.
function outsideAddress(address, origin) {
    if (address.startsWith("about:neterror")) return new URL(address).searchParams.get("u");
    return /^https?:/.test(address) && new URL(address).origin !== origin ? address : null;
}

async function launchPuppeteer(engine, origin, camera) {
    const profile = await mkdtemp(join(tmpdir(), `quenlio-${engine}-`));
    const browser = await puppeteer.launch(puppeteerOptions(engine, profile, camera));
    const session = {
        engine,
        supports: Supports[engine],
        front: null, // the page keys go to
        async newPage(viewport = Phone) {
            const page = new PuppeteerPage(session, await browser.newPage());
            await page.start(engine === "chromium" ? { deviceScaleFactor: 3, isMobile: true, hasTouch: true, ...viewport } : viewport);
            return page;
        },
        async close() {
            await browser.close();
            await rm(profile, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
        },
    };
    // A tab the page opened is recorded on the page in front and closed at once, and that
    // page brought back to the front (a page behind another gets no animation frames).
    const popups = new WeakSet();
    const takePopup = async (target) => {
        const address = target.type() === "page" ? outsideAddress(target.url(), origin) : null;
        if (!address || popups.has(target)) return;
        popups.add(target);
        session.front?.opened.push(address);
        const popup = await target.page().catch(() => null);
        await popup?.close().catch(() => {});
        await session.front?.native.bringToFront().catch(() => {});
    };
    browser.on("targetcreated", takePopup);
    browser.on("targetchanged", takePopup);
    return session;
}

class PuppeteerPage extends BasePage {
    constructor(session, page) {
        super();
        this.session = session;
        this.native = page; // the puppeteer Page, for what only this engine can do
    }

    async start(viewport) {
        const page = this.native;
        this.session.front = this;
        page.on("console", (message) => {
            if (message.type() === "error") this.errors.push(message.text());
        });
        page.on("pageerror", (error) => this.errors.push(String(error)));
        // Chromium does not pass its own policy messages on as console messages.
        if (this.session.engine === "chromium")
            await page.evaluateOnNewDocument(() =>
                document.addEventListener("securitypolicyviolation", (e) =>
                    console.error(`policy violation: ${e.violatedDirective} ${e.blockedURI}`)));
        await page.setViewport(viewport);
    }

    // Keys and frames go to the page in front.
    async use() {
        if (this.session.front === this) return;
        this.session.front = this;
        await this.native.bringToFront();
    }

    settle() {}

    async evaluateOnce(fn, args) {
        return this.native.evaluate(fn, ...args);
    }

    async evaluateSource(source) {
        return this.native.evaluate(source);
    }

    async goto(url) {
        await this.use();
        await this.native.goto(url, { waitUntil: "load" });
    }

    async reload() {
        await this.use();
        await this.native.reload({ waitUntil: "load" });
    }

    /** Gives the file input `selector` the file at `path`, as the user picking it does. */
    async chooseFile(selector, path) {
        await this.use();
        await (await this.native.$(selector)).uploadFile(path);
    }

    async type(text, { delay = PersonKeyDelay } = {}) {
        await this.use();
        await this.native.keyboard.type(text, { delay });
    }

    async press(key) {
        await this.use();
        await this.native.keyboard.press(key);
    }

    // Puppeteer sends a second keydown of a key already down as an auto-repeat.
    async hold(key, repeats) {
        await this.use();
        for (let i = 0; i <= repeats; i++) await this.native.keyboard.down(key);
        await this.native.keyboard.up(key);
    }

    async chord(modifier, key) {
        await this.use();
        await this.native.keyboard.down(modifier);
        await this.native.keyboard.press(key);
        await this.native.keyboard.up(modifier);
    }

    async tapAt(x, y) {
        await this.use();
        if (this.session.supports.touch) await this.native.touchscreen.tap(x, y);
        else await this.native.mouse.click(x, y);
    }

    async clickAt(x, y, { count = 1 } = {}) {
        await this.use();
        await this.native.mouse.click(x, y, { count });
    }

    screenshot(path) {
        return this.native.screenshot({ path });
    }

    async close() {
        if (this.session.front === this) this.session.front = null;
        await this.native.close();
    }
}

// --- WebKitGTK, through WebKitWebDriver --------------------------------------------------------

// W3C WebDriver's code points for the keys that are not characters.
const WebDriverKeys = {
    Backspace: "\uE003", Tab: "\uE004", Enter: "\uE006", Shift: "\uE008", Control: "\uE009", Alt: "\uE00A",
    Escape: "\uE00C", PageUp: "\uE00E", PageDown: "\uE00F", End: "\uE010", Home: "\uE011",
    ArrowLeft: "\uE012", ArrowUp: "\uE013", ArrowRight: "\uE014", ArrowDown: "\uE015",
    Insert: "\uE016", Delete: "\uE017", Meta: "\uE03D",
};
function webDriverKey(key) {
    const value = WebDriverKeys[key] ?? key;
    if ([...value].length !== 1) throw new Error(`no such key "${key}"`);
    return value;
}

// MiniBrowser's toolbar is wider than a phone: with its text and padding shrunk to nothing the
// window can be 390 pixels wide.
const TinyToolbar = "* { font-size: 1px; padding: 0; margin: 0; min-width: 0; min-height: 0; border-width: 0; }\n";

function freePort() {
    return new Promise((done, fail) => {
        const server = createServer();
        server.on("error", fail);
        server.listen(0, "127.0.0.1", () => {
            const { port } = server.address();
            server.close(() => done(port));
        });
    });
}

// Children that must not outlive the tests, even when a test throws before closing its session.
const children = new Set();
process.on("exit", () => {
    for (const child of children) child.kill();
});
function start(program, args, options) {
    const child = spawn(program, args, options);
    children.add(child);
    child.on("exit", () => children.delete(child));
    return child;
}

function stop(child) {
    if (child.exitCode !== null || child.signalCode !== null) return Promise.resolve();
    return new Promise((done) => {
        child.once("exit", done);
        child.kill();
    });
}

// Waits until `ready()` holds, while `child` (named `name`) runs.
async function untilTrue(ready, child, name, timeout = 10000) {
    const deadline = Date.now() + timeout;
    while (Date.now() < deadline) {
        if (child.exitCode !== null) throw new Error(`${name} ended (${child.exitCode}) before it was ready`);
        if (await ready()) return;
        await sleep(100);
    }
    throw new Error(`${name} not ready in ${timeout} ms`);
}

async function launchWebKit(origin) {
    const home = await mkdtemp(join(tmpdir(), "quenlio-webkit-"));
    await mkdir(join(home, "gtk-3.0"));
    await writeFile(join(home, "gtk-3.0", "gtk.css"), TinyToolbar);
    // A display with a window manager, which gives the browser's window the focus as a user's is:
    // without one the page never has it (no :focus, no :focus-visible, document.hasFocus() false).
    if (!process.env.DISPLAY) throw new Error("WebKit needs a display with a window manager: run the tests under scripts/with-display");
    const env = { ...process.env, XDG_CONFIG_HOME: home, XDG_CACHE_HOME: home, XDG_DATA_HOME: home };
    const port = await freePort();
    const webDriver = start(Programs.webkitDriver, [`--port=${port}`], { env, stdio: "ignore" });
    const server = `http://127.0.0.1:${port}`;
    await untilTrue(() => fetch(`${server}/status`).then((r) => r.ok, () => false), webDriver, "WebKitWebDriver");
    const originHost = new URL(origin).hostname;
    const driver = await new Builder().usingServer(server).withCapabilities({
        browserName: "MiniBrowser",
        "webkitgtk:browserOptions": {
            binary: Programs.miniBrowser,
            args: [
                "--automation",
                // Everything but the site goes to a closed port.
                `--proxy=http://127.0.0.1:${ClosedPort}`,
                `--ignore-host=${originHost}`,
                // Lets a test's script write the clipboard, as chromium and firefox allow a focused page.
                "--javascript-can-access-clipboard=true",
            ],
        },
    }).build();
    await driver.manage().setTimeouts({ pageLoad: 30000, script: 30000 });
    const session = {
        engine: "webkit",
        supports: Supports.webkit,
        driver,
        current: await driver.getWindowHandle(), // the window the driver talks to
        spare: null, // the first window, or one a closed page left: WebDriver cannot do without one
        pages: new Set(),
        async newPage(viewport = Phone) {
            let handle = session.spare;
            session.spare = null;
            if (!handle) {
                await driver.switchTo().newWindow("window");
                handle = session.current = await driver.getWindowHandle();
            }
            const page = new WebKitPage(session, handle);
            session.pages.add(page);
            await page.start(viewport);
            return page;
        },
        async close() {
            await driver.quit().catch(() => {});
            await stop(webDriver);
            // The browser's last processes may still be writing their caches there.
            await rm(home, { recursive: true, force: true, maxRetries: 10, retryDelay: 100 });
        },
    };
    session.spare = session.current;
    return session;
}

class WebKitPage extends BasePage {
    constructor(session, handle) {
        super();
        this.session = session;
        this.handle = handle;
        this.native = session.driver; // the selenium WebDriver, for what only this engine can do
    }

    async start({ width, height }) {
        const driver = this.native;
        await this.use();
        // The window holds a toolbar above the page: grow it by what the page lacks, from the size
        // the window has now (a resize may not have been carried out yet when the call returns).
        const window = driver.manage().window();
        await window.setRect({ x: 0, y: 0, width, height });
        for (let i = 0; ; i++) {
            const [innerWidth, innerHeight] = await driver.executeScript("return [innerWidth, innerHeight]");
            if (innerWidth === width && innerHeight === height) break;
            if (i === 20) throw new Error(`WebKit's page stays ${innerWidth}x${innerHeight}, not ${width}x${height}`);
            // A window not yet at its first size can give a page larger than the window: no size then.
            const outer = await window.getRect();
            const next = { width: Math.round(outer.width + width - innerWidth), height: Math.round(outer.height + height - innerHeight) };
            if (next.width > 0 && next.height > 0) await window.setRect(next);
            await sleep(50);
        }
        await this.settle();
    }

    async use() {
        if (this.session.current === this.handle) return;
        await this.native.switchTo().window(this.handle);
        this.session.current = this.handle;
    }

    async evaluateOnce(fn, args) {
        await this.use();
        return this.native.executeScript(`return (${fn}).apply(null, arguments)`, ...args);
    }

    async evaluateSource(source) {
        await this.use();
        return this.native.executeScript(`return ${source}`);
    }

    // After each step: the errors the page's listener saw (adding it to a new document), and any
    // window the page opened, recorded and closed, this page's window the current one again.
    async settle() {
        await this.use();
        const seen = await this.native.executeScript(function () {
            const key = Symbol.for("quenlio.driver.errors");
            if (!window[key]) {
                const errors = (window[key] = []);
                addEventListener("error", (e) => errors.push(String(e.error ?? e.message)));
                addEventListener("unhandledrejection", (e) => errors.push(`Uncaught (in promise) ${e.reason}`));
                document.addEventListener("securitypolicyviolation", (e) => errors.push(`policy violation: ${e.violatedDirective} ${e.blockedURI}`));
                const consoleError = console.error;
                console.error = (...parts) => {
                    errors.push(parts.map(String).join(" "));
                    consoleError.apply(console, parts);
                };
            }
            return window[key].splice(0);
        }).catch(() => []); // a document still loading has none to give yet
        this.errors.push(...seen);
        const ours = new Set([...this.session.pages].map((page) => page.handle));
        if (this.session.spare) ours.add(this.session.spare);
        for (const handle of await this.native.getAllWindowHandles()) {
            if (ours.has(handle)) continue;
            await this.native.switchTo().window(handle);
            this.session.current = handle;
            let address = await this.native.getCurrentUrl();
            for (let i = 0; i < 20 && address === "about:blank"; i++) {
                await sleep(100);
                address = await this.native.getCurrentUrl();
            }
            this.opened.push(address);
            await this.native.close();
            await this.use();
        }
    }

    async #actions(...sources) {
        await this.use();
        await this.native.execute(new Command("actions").setParameter("actions", sources));
        await this.settle();
    }

    #keys(...actions) {
        return this.#actions({ type: "key", id: "keyboard", actions });
    }

    #pointer(x, y, count) {
        const actions = [{ type: "pointerMove", x: Math.round(x), y: Math.round(y), origin: "viewport" }];
        for (let i = 0; i < count; i++) actions.push({ type: "pointerDown", button: 0 }, { type: "pointerUp", button: 0 });
        return this.#actions({ type: "pointer", id: "mouse", parameters: { pointerType: "mouse" }, actions });
    }

    async goto(url) {
        await this.settle(); // what the old document saw, before it goes
        await this.native.get(url);
        await this.settle();
    }

    async reload() {
        await this.settle();
        await this.native.navigate().refresh();
        await this.settle();
    }

    async chooseFile(selector, path) {
        await this.use();
        await this.native.findElement(By.css(selector)).sendKeys(path);
        await this.settle();
    }

    // "\n" is the Enter key, as puppeteer types it.
    type(text, { delay = PersonKeyDelay } = {}) {
        const value = (c) => (c === "\n" ? WebDriverKeys.Enter : c);
        return this.#keys(...[...text].flatMap((c) => [{ type: "keyDown", value: value(c) }, { type: "pause", duration: delay }, { type: "keyUp", value: value(c) }]));
    }

    press(key) {
        const value = webDriverKey(key);
        return this.#keys({ type: "keyDown", value }, { type: "keyUp", value });
    }

    // WebKitGTK drops the repeated keydowns (supports.autoRepeat is false); they are sent all the same.
    hold(key, repeats) {
        const value = webDriverKey(key);
        const downs = Array.from({ length: repeats + 1 }, () => ({ type: "keyDown", value }));
        return this.#keys(...downs, { type: "keyUp", value });
    }

    chord(modifier, key) {
        const [m, k] = [webDriverKey(modifier), webDriverKey(key)];
        return this.#keys({ type: "keyDown", value: m }, { type: "keyDown", value: k }, { type: "keyUp", value: k }, { type: "keyUp", value: m });
    }

    tapAt(x, y) {
        return this.#pointer(x, y, 1);
    }

    clickAt(x, y, { count = 1 } = {}) {
        return this.#pointer(x, y, count);
    }

    async screenshot(path) {
        await this.use();
        await writeFile(path, await this.native.takeScreenshot(), "base64");
    }

    async close() {
        const { session } = this;
        session.pages.delete(this);
        await this.use();
        if (session.pages.size === 0 && !session.spare) {
            await this.native.get("about:blank");
            session.spare = this.handle;
        } else {
            await this.native.close();
            session.current = null;
        }
    }
}
