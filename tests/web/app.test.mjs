// The page as an app: installable, under its Content Security Policy, working the same where the
// browser has no service worker, and after one visit opening and querying with no network at all.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { cp, mkdtemp, readFile, readdir, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join, relative } from "node:path";

import { SiteFolder, launchBrowser, openPage, serveSite } from "./browser.mjs";
import { ContentSecurityPolicy } from "../../web/serve.mjs";
import { Screens, eachEngine, loadNodeCore, shownResults, values } from "./scenario.mjs";

const at = (name) => `#Form5 [data-control=${name}]`;

let site, core;
before(async () => {
    const served = await serveSite();
    site = { ...served, session: await launchBrowser(), stopServer: served.close };
    core = await loadNodeCore();
});
after(async () => {
    await site?.session.close();
    await site?.close();
});

// Opens the page at `#/screen` (a puppeteer page: these tests need chromium's own controls) until it is wired.
async function goTo(page, url, screen) {
    await page.goto("about:blank");
    await page.goto(`${url}#/${screen}`, { waitUntil: "load" });
    await page.waitForSelector(`html[data-ready] #${screen}`);
}

// A whole Form5 query: the serial, the result and its photo, the activation date and the verdict's box.
async function fullQuery(page, url = site.url) {
    await goTo(page, url, "Form5");
    // At a person's pace: keys a few ms apart are a hand scanner's code, whose Enter queries nothing.
    await page.keyboard.type("dnph7abcdtdk\n", { delay: 70 });
    assert.deepEqual(await shownResults(page, "Form5"), core.displayQuery12("DNPH7ABCDTDK", "MD269LL").Result);
    assert.ok(await page.$eval("#Form5 .photo img:not([hidden])", (img) => img.decode().then(() => true, () => false)), "the photo is drawn");
    await page.focus(at("Text8"));
    await page.keyboard.type("2013-11-11\n");
    assert.equal(await page.$eval(at("Text11"), (box) => box.value), core.estimateActivationDate("2013-11-11"));
    await page.tap(at("Command7"));
    await page.waitForSelector("dialog#InputBox[open]");
    await page.keyboard.press("Escape");
    await page.waitForSelector("dialog#InputBox:not([open])");
}

// Every picture of every screen drawn, each screen opened from its address.
async function everyScreenDrawn(page) {
    for (const screen of Screens) {
        await goTo(page, site.url, screen);
        const missing = await page.$$eval("img:not([hidden])", (all) => Promise.all(all.map((img) => img.decode().then(() => null, () => img.src))).then((l) => l.filter(Boolean)));
        assert.deepEqual(missing, [], screen);
    }
}

test("without a service worker the page works the same, with no error", async () => {
    const context = await site.session.browser.createBrowserContext();
    const { page, errors } = await openPage(site.session, site.url, { withoutServiceWorker: true, context });
    assert.equal(await page.evaluate(() => navigator.serviceWorker), undefined);
    await fullQuery(page);
    await everyScreenDrawn(page);
    assert.deepEqual(site.session.browser.targets().filter((t) => t.type() === "service_worker" && t.browserContext() === context), []);
    assert.deepEqual(errors, []);
    await context.close();
});

test("a whole query under the page's policy, which the server sends too, breaks none of it", async () => {
    const { page: shown, errors } = await openPage(site.session, site.url);
    const meta = await shown.$eval("meta[http-equiv=Content-Security-Policy]", (m) => m.content);
    const response = await fetch(site.url);
    assert.equal(meta, ContentSecurityPolicy);
    assert.equal(response.headers.get("content-security-policy"), `${meta}; frame-ancestors 'none'`);
    assert.match(meta, /script-src 'self' 'wasm-unsafe-eval';/);
    await fullQuery(shown);
    assert.deepEqual(errors, []);
    await shown.close();
});

let page, errors;
test("installable: chromium finds nothing missing", async () => {
    ({ page, errors } = await openPage(site.session, site.url));
    const cdp = await page.createCDPSession();
    const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
    assert.deepEqual(installabilityErrors, []);
});

test("after one visit: the server gone and the network off, it opens, queries and draws everything, after a restart too", async () => {
    // The visit of the test above installed the worker; its cache is exactly the built site.
    await page.waitForFunction(async () => (await navigator.serviceWorker.ready).active.state === "activated");
    const cached = await page.evaluate(async () => {
        const names = await caches.keys();
        const files = await (await caches.open(names[0])).keys();
        return { names, files: files.map((r) => new URL(r.url).pathname).sort() };
    });
    const built = (await readdir(SiteFolder, { recursive: true, withFileTypes: true }))
        .filter((entry) => entry.isFile() && entry.name !== "sw.js" && entry.name !== "precache.js")
        .map((entry) => "/" + relative(SiteFolder, join(entry.parentPath ?? entry.path, entry.name)))
        .concat("/")
        .sort();
    assert.equal(cached.names.length, 1);
    assert.deepEqual(cached.files, built);

    await site.stopServer();
    await page.setOfflineMode(true);
    await page.reload({ waitUntil: "load" });
    await page.waitForSelector("html[data-ready] #Form5");
    assert.ok(await page.evaluate(() => navigator.serviceWorker.controller !== null), "the worker answers");
    await fullQuery(page);
    await everyScreenDrawn(page);
    assert.deepEqual(errors, []);

    // And after the browser was closed and started again, still with no server.
    await site.session.restart();
    ({ page, errors } = await openPage(site.session, site.url));
    await page.waitForSelector("html[data-ready] #Form5");
    await fullQuery(page);
    await everyScreenDrawn(page);
    // The scan box and its reader come from the cache too: a file that is no picture is read by
    // the reader's worker and told as such, not as a reader that could not be fetched.
    await goTo(page, site.url, "Form5");
    await page.tap(at("Scan"));
    await page.waitForSelector("#ScanBox [data-answer=photo]:not([hidden])");
    const notPicture = join(await mkdtemp(join(tmpdir(), "quenlio-")), "label.png");
    await writeFile(notPicture, "not a picture\n");
    await (await page.$("#ScanBox-file")).uploadFile(notPicture);
    await page.waitForFunction(() => document.getElementById("ScanBox-line").textContent === "无法读取这张图片");
    assert.deepEqual(errors, []);
});

test("a new release waits, says so in one line, and replaces the old one whole on the next start", async () => {
    const folder = await mkdtemp(join(tmpdir(), "quenlio-release-"));
    await cp(SiteFolder, folder, { recursive: true });
    const local = await serveSite(folder);
    const session = await launchBrowser();
    try {
        const release = async (page) =>
            page.evaluate(async () => ({ caches: await caches.keys(), line: document.getElementById("update").hidden ? null : document.getElementById("update").textContent }));
        let { page, errors } = await openPage(session, local.url);
        await page.waitForFunction(async () => (await navigator.serviceWorker.ready).active.state === "activated");
        await page.reload({ waitUntil: "load" });
        const first = await release(page);
        assert.equal(first.caches.length, 1);
        assert.equal(first.line, null);

        // The next release: another core, hence another hash, written as scripts/web writes it.
        const worker = join(folder, "precache.js");
        const text = await readFile(worker, "utf8");
        await writeFile(worker, text.replace(/const Release = "[0-9a-f]+";/, 'const Release = "0000000000000000";'));
        await page.reload({ waitUntil: "load" });
        await page.waitForSelector("#update:not([hidden])");
        // It waits (the open page keeps the old release's files throughout): nothing makes it skip waiting.
        const waiting = await release(page);
        assert.equal(waiting.line, "新版本已就绪，下次打开时生效");
        assert.equal(await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).waiting?.state), "installed");
        assert.equal(waiting.caches.length, 2, "the old release keeps serving while the new one waits");
        assert.deepEqual(errors, []);

        // With every page of the old release closed, the next start is the new release alone.
        await page.close();
        ({ page, errors } = await openPage(session, local.url));
        await page.waitForFunction(async () => (await caches.keys()).length === 1);
        assert.deepEqual((await release(page)).caches, ["quenlio-0000000000000000"]);
        assert.deepEqual(errors, []);
    } finally {
        await session.close();
        await local.close();
        await rm(folder, { recursive: true, force: true });
    }
});

test("a release whose files changed while it was installing is not installed, and is on a later visit", async () => {
    const folder = await mkdtemp(join(tmpdir(), "quenlio-mixed-"));
    await cp(SiteFolder, folder, { recursive: true });
    // A script of another build under the worker of this one, as a release published mid-install leaves it.
    const script = join(folder, "form4.js");
    const built = await readFile(script, "utf8");
    await writeFile(script, `${built}// another build\n`);
    const local = await serveSite(folder);
    const session = await launchBrowser();
    try {
        const cacheState = (page) => page.evaluate(async () => ({
            caches: (await caches.keys()).length,
            active: (await navigator.serviceWorker.getRegistration())?.active?.state ?? null,
        }));
        let { page, errors } = await openPage(session, local.url);
        await page.waitForSelector("html[data-ready] #Form5");
        // The worker the page registers ends its install as redundant, leaving no cache behind.
        const installed = await page.evaluate(async () => {
            const registration = await navigator.serviceWorker.register("sw.js");
            const worker = registration.installing ?? registration.waiting ?? registration.active;
            while (worker.state === "installing") await new Promise((done) => worker.addEventListener("statechange", done, { once: true }));
            return worker.state;
        });
        assert.equal(installed, "redundant");
        assert.deepEqual(await cacheState(page), { caches: 0, active: null });
        // The page itself goes on as it would without a worker.
        await fullQuery(page, local.url);
        assert.deepEqual(errors, []);
        await page.close();

        // The files whole again: the next visit installs the release.
        await writeFile(script, built);
        ({ page, errors } = await openPage(session, local.url));
        await page.waitForFunction(async () => (await navigator.serviceWorker.ready).active.state === "activated");
        assert.deepEqual(await cacheState(page), { caches: 1, active: "activated" });
        assert.deepEqual(errors, []);
    } finally {
        await session.close();
        await local.close();
        await rm(folder, { recursive: true, force: true });
    }
});

for (const withoutServiceWorker of [true, false])
test(`the network lost after the first load, ${withoutServiceWorker ? "with no service worker" : "once the worker is in"}: every screen still opens and draws, the query works, no error`, async () => {
    const local = await serveSite();
    const session = await launchBrowser();
    try {
        const { page, errors } = await openPage(session, local.url, { withoutServiceWorker });
        await page.waitForSelector("html[data-ready] #Form5");
        await page.waitForNetworkIdle({ idleTime: 200 });
        // The worker of a first visit takes the page over once its cache is complete.
        if (!withoutServiceWorker) await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        await local.close();
        await page.setOfflineMode(true);
        // Moving between the screens reloads nothing, so every screen, first opened now, has what it needs.
        for (const screen of ["Form4", "Form5", "Main", "Form1", "Main", "Form2", "Main", "Form3"]) {
            await page.evaluate((s) => (location.hash = `#/${s}`), screen);
            await page.waitForSelector(`#${screen}`);
            const missing = await page.$$eval("img:not([hidden])", (all) => Promise.all(all.map((img) => img.decode().then(() => null, () => img.src))).then((l) => l.filter(Boolean)));
            assert.deepEqual(missing, [], screen);
        }
        await page.evaluate(() => (location.hash = "#/Form5"));
        await page.waitForSelector("#Form5");
        await page.keyboard.type("dnph7abcdtdk", { delay: 70 });
        await page.tap(at("Command1"));
        assert.deepEqual(await shownResults(page, "Form5"), core.displayQuery12("DNPH7ABCDTDK", "MD269LL").Result);
        assert.ok(await page.$eval("#Form5 .photo img:not([hidden])", (img) => img.decode().then(() => true, () => false)), "the photo is drawn");
        assert.deepEqual(errors, []);
    } finally {
        await session.close();
        await local.close();
    }
});

eachEngine("A start on a poor network", (f) => {
    test("a module answered 503 is fetched again; answered 503 throughout, the page says so and keeps every key, and 重试 loads it", async () => {
        const { page } = f;
        f.site.fail("form2.js", Infinity);
        await page.goto(`${f.url}#/Form5`);
        await page.waitFor(() => document.activeElement?.matches("#Form5 [data-control=Text1]"), { message: "the early serial box focused" });
        await page.type("dnph7");
        await page.waitFor(() => !document.getElementById("failed").hidden, { message: "the failure told", timeout: 10000 });
        await page.type("abcdtdk");
        assert.deepEqual(await page.evaluate(() => [document.getElementById("failed").textContent, document.documentElement.hasAttribute("data-ready"),
            document.querySelector("#Form5 [data-control=Text1]").value]), ["页面载入失败，请检查网络后重试 重试", false, "dnph7abcdtdk"]);
        f.site.fail("form2.js", 1);
        await page.tap("#failed button");
        await page.waitFor(() => document.documentElement.hasAttribute("data-ready") && document.getElementById("Form5"), { message: "Form5 wired", timeout: 10000 });
        await page.type("dnph7abcdtdk");
        assert.deepEqual(await values(page, "Form5", "Text1", "Text2"), ["DNPH7ABCDTDK", "MD269LL"]);
    });
});
