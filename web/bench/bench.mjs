// The web edition's figures, against a page holding one Chinese heading and one text box (the
// yardstick), both served by web/serve.mjs as a real host serves them (HTTP/1.1 with keep-alive,
// gzip, application/wasm), in Debian's chromium at a phone's size:
//   - Lighthouse's mobile preset: performance, accessibility and best practices;
//   - the bytes the start view loads (gzipped, as sent) and the whole edition's;
//   - the time from navigation to a focused Text1 that takes keys, cold and warm, the two pages
//     alternated;
//   - a query's click: handler, wasm call and writes, and the frame it is painted in;
//   - the JavaScript heap and the wasm memory after 10, 1,000 and 100,000 queries.
// A benchmark, not a test: it prints figures for docs/benchmarks.md. Its pages are not intercepted
// through DevTools, which would add a round trip to every request; the browser's own flags keep
// every request on this machine.
//   node web/bench/bench.mjs [ROUNDS]        (scripts/web bench [ROUNDS] builds first)
// QUENLIO_BENCH=time,memory (say) runs only those of lighthouse, bytes, time, click and memory.
import { mkdtemp, readdir, readFile, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { gzipSync } from "node:zlib";

import lighthouse from "lighthouse";
import * as chromeLauncher from "chrome-launcher";

import { Chromium, Phone, SiteFolder, launchBrowser, serveSite } from "../../tests/web/browser.mjs";

const Rounds = Number(process.argv[2] ?? 21);
const Sections = (process.env.QUENLIO_BENCH ?? "lighthouse,bytes,time,click,memory").split(",");
const Serial = "DNPH7ABCDTDK"; // a serial of the catalogue, MD269LL
const print = (line = "") => console.log(line);

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const spread = (values) => `${median(values).toFixed(0)} ms (${Math.min(...values).toFixed(0)}–${Math.max(...values).toFixed(0)})`;
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

// The yardstick: one Chinese heading, one text box that has the focus, a favicon.
async function writeYardstick() {
    const folder = await mkdtemp(join(tmpdir(), "quenlio-yardstick-"));
    await writeFile(join(folder, "index.html"), `<!doctype html>
<html lang="zh-CN">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>序列号查询</title>
<link rel="icon" href="favicon.png" type="image/png">
</head>
<body>
<main>
<h1>序列号查询</h1>
<label for="Text1">序列号</label> <input id="Text1" type="text" autofocus>
</main>
</body>
</html>
`);
    await writeFile(join(folder, "favicon.png"), await readFile(join(SiteFolder, "icons", "favicon-32.png")));
    return folder;
}

async function runLighthouse(url) {
    const chrome = await chromeLauncher.launch({
        chromePath: process.env.CHROME_PATH ?? Chromium,
        chromeFlags: ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run"],
    });
    try {
        const result = await lighthouse(url, {
            port: chrome.port,
            output: "json",
            logLevel: "error",
            onlyCategories: ["performance", "accessibility", "best-practices"],
        });
        const lhr = result.lhr;
        const score = (id) => Math.round(lhr.categories[id].score * 100);
        const failing = Object.values(lhr.audits)
            .filter((audit) => audit.scoreDisplayMode !== "informative" && audit.score !== null && audit.score < 1)
            .map((audit) => `${audit.id} ${audit.score}`);
        const metric = (id) => lhr.audits[id]?.displayValue ?? "";
        return {
            performance: score("performance"),
            accessibility: score("accessibility"),
            bestPractices: score("best-practices"),
            metrics: `FCP ${metric("first-contentful-paint")}, LCP ${metric("largest-contentful-paint")}, TBT ${metric("total-blocking-time")}, CLS ${metric("cumulative-layout-shift")}`,
            failing,
        };
    } finally {
        await chrome.kill();
    }
}

// Every file of the built site, gzipped as the server sends it.
async function wholeEdition(folder) {
    let total = 0;
    for (const entry of await readdir(folder, { recursive: true, withFileTypes: true })) {
        if (!entry.isFile()) continue;
        const bytes = await readFile(join(entry.parentPath ?? entry.path, entry.name));
        total += /\.(png)$/.test(entry.name) ? bytes.length : gzipSync(bytes).length;
    }
    return total;
}

// Records, before any script of the page runs, when a text box first has the focus while enabled.
function watchFirstFocus() {
    const seen = () => {
        const box = document.activeElement;
        if (window.__usable === undefined && box instanceof HTMLInputElement && !box.disabled)
            window.__usable = performance.now();
    };
    document.addEventListener("focusin", seen, true);
    // autofocus gives the focus before a listener on the document can see it, in some orders.
    const poll = () => {
        seen();
        if (window.__usable === undefined) requestAnimationFrame(poll);
    };
    requestAnimationFrame(poll);
}

// One navigation; returns when the box had the focus, after checking that a key lands in it.
async function timeToUsable(page, url, selector) {
    await page.goto("about:blank");
    await page.goto(url, { waitUntil: "load" });
    await page.waitForFunction(() => window.__usable !== undefined);
    const at = await page.evaluate(() => window.__usable);
    await page.keyboard.type("f");
    const value = await page.$eval(selector, (box) => box.value);
    if (!/^f$/i.test(value)) throw new Error(`the box did not take the key: "${value}"`);
    return at;
}

// Bytes the page itself loaded (its requests, not its service worker's), as sent.
async function startViewBytes(browser, url) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport(Phone);
    const cdp = await page.createCDPSession();
    await cdp.send("Network.enable");
    let bytes = 0;
    const files = [];
    cdp.on("Network.loadingFinished", (event) => (bytes += event.encodedDataLength));
    cdp.on("Network.responseReceived", (event) => files.push(new URL(event.response.url).pathname));
    await page.goto(url, { waitUntil: "networkidle0" });
    await page.waitForSelector("html[data-ready]");
    await context.close();
    return { bytes, files };
}

async function queryFigures(page, url) {
    await page.goto(url, { waitUntil: "load" });
    await page.waitForSelector("html[data-ready] #Form5");
    await page.type("#Form5 [data-control=Text1]", Serial);
    await page.waitForFunction(() => !document.querySelector("#Form5 [data-control=Command1]").disabled);
    await page.evaluate(() => {
        window.__clicks = [];
        const button = document.querySelector("#Form5 [data-control=Command1]");
        // Listeners on the window run after the button's own, so `done` follows the writes.
        window.addEventListener("click", (event) => {
            if (event.target !== button) return;
            const done = performance.now();
            requestAnimationFrame((frame) => window.__clicks.push({ handled: done - event.timeStamp, frame: frame - event.timeStamp }));
        });
    });
    for (let i = 0; i < 50; ++i) await page.click("#Form5 [data-control=Command1]");
    await page.waitForFunction(() => window.__clicks.length === 50);
    const clicks = await page.evaluate(() => window.__clicks);
    const result = await page.$eval("#Form5 [data-control=Text3]", (box) => box.value);
    return { clicks, result };
}

// The wasm memory is the module's own: the bench catches it as the page makes it.
function catchWasmMemory() {
    const instantiate = WebAssembly.instantiate;
    const streaming = WebAssembly.instantiateStreaming;
    const keep = (result) => {
        const exports = (result.instance ?? result).exports;
        window.__wasmMemory = Object.values(exports).find((value) => value instanceof WebAssembly.Memory);
        return result;
    };
    WebAssembly.instantiate = (...args) => instantiate(...args).then(keep);
    if (streaming) WebAssembly.instantiateStreaming = (...args) => streaming(...args).then(keep);
}

// A heap snapshot split in two: the code the engine compiles as functions grow hot (JavaScript
// and the wasm's optimised tier), which grows for a while after start, and everything else.
async function heapParts(cdp) {
    const chunks = [];
    const take = (event) => chunks.push(event.chunk);
    cdp.on("HeapProfiler.addHeapSnapshotChunk", take);
    await cdp.send("HeapProfiler.takeHeapSnapshot", { reportProgress: false });
    cdp.off("HeapProfiler.addHeapSnapshotChunk", take);
    const snapshot = JSON.parse(chunks.join(""));
    const fields = snapshot.snapshot.meta.node_fields;
    const types = snapshot.snapshot.meta.node_types[0];
    const [type, name, size] = ["type", "name", "self_size"].map((field) => fields.indexOf(field));
    let code = 0;
    let objects = 0;
    for (let i = 0; i < snapshot.nodes.length; i += fields.length) {
        const bytes = snapshot.nodes[i + size];
        const compiled = types[snapshot.nodes[i + type]] === "code" || snapshot.strings[snapshot.nodes[i + name]].includes("WasmNativeModule");
        if (compiled) code += bytes;
        else objects += bytes;
    }
    return { code, objects };
}

async function memoryFigures(page, url) {
    await page.evaluateOnNewDocument(catchWasmMemory);
    await page.goto(url, { waitUntil: "load" });
    await page.waitForSelector("html[data-ready] #Form5");
    await page.type("#Form5 [data-control=Text1]", Serial);
    await page.waitForFunction(() => !document.querySelector("#Form5 [data-control=Command1]").disabled);
    const cdp = await page.createCDPSession();
    const figures = [];
    let done = 0;
    for (const upTo of [10, 1000, 100000]) {
        // Twenty at a time, so the clicks are no long task the browser keeps a record of.
        for (let left = upTo - done; left > 0; left -= 20)
            await page.evaluate((count) => {
                const button = document.querySelector("#Form5 [data-control=Command1]");
                for (let i = 0; i < count; ++i) button.click();
            }, Math.min(left, 20));
        done = upTo;
        for (let i = 0; i < 3; ++i) await cdp.send("HeapProfiler.collectGarbage");
        const heap = await cdp.send("Runtime.getHeapUsage");
        const wasm = await page.evaluate(() => window.__wasmMemory?.buffer.byteLength ?? NaN);
        figures.push({ queries: upTo, heap: heap.usedSize, wasm, ...(await heapParts(cdp)) });
    }
    return figures;
}

const site = await serveSite();
const yardstickFolder = await writeYardstick();
const yardstick = await serveSite(yardstickFolder);
try {
    print(`# The web edition against one box of Chinese text (${Rounds} rounds, load ${(await readFile("/proc/loadavg", "utf8")).split(" ")[0]})`);
    if (Sections.includes("lighthouse")) {
        print("\n## Lighthouse, mobile preset");
        for (const [name, url] of [["one box of Chinese text", yardstick.url], ["Form5", `${site.url}#Form5`]]) {
            const lh = await runLighthouse(url);
            print(`- ${name}: performance ${lh.performance}, accessibility ${lh.accessibility}, best practices ${lh.bestPractices}; ${lh.metrics}`);
            if (lh.failing.length) print(`  below 1: ${lh.failing.join(", ")}`);
        }
    }

    const session = await launchBrowser(site.origin);
    const yardstickSession = await launchBrowser(yardstick.origin);
    try {
        if (Sections.includes("bytes")) {
            print("\n## Bytes, gzipped as sent");
            const start = await startViewBytes(session.browser, `${site.url}#Form5`);
            print(`- the start view: ${kb(start.bytes)} in ${start.files.length} responses`);
            print(`- the whole edition: ${kb(await wholeEdition(SiteFolder))}`);
            const yardstickStart = await startViewBytes(yardstickSession.browser, yardstick.url).catch(() => null);
            if (yardstickStart) print(`- one box of Chinese text: ${kb(yardstickStart.bytes)}`);
        }
        if (Sections.includes("time")) {
            print("\n## Time from navigation to a focused box that takes keys, alternated");
            const times = { page: { cold: [], warm: [] }, yardstick: { cold: [], warm: [] } };
            const ratios = { cold: [], warm: [] };
            for (let round = 0; round < Rounds; ++round) {
                const one = {};
                for (const [name, target, url, selector] of [
                    ["yardstick", yardstickSession, yardstick.url, "#Text1"],
                    ["page", session, `${site.url}#Form5`, "#Form5 [data-control=Text1]"],
                ]) {
                    // Cold: a fresh context, nothing cached and no service worker; warm: the same
                    // context again, with its cache (and, for the page, its worker) in place.
                    const context = await target.browser.createBrowserContext();
                    const page = await context.newPage();
                    await page.setViewport(Phone);
                    await page.evaluateOnNewDocument(watchFirstFocus);
                    const cold = await timeToUsable(page, url, selector);
                    // Let the service worker install and take the page, as a second visit finds it.
                    await page.evaluate(async () => {
                        const registration = await navigator.serviceWorker?.getRegistration();
                        if (registration) await navigator.serviceWorker.ready;
                    });
                    const warm = await timeToUsable(page, url, selector);
                    await context.close();
                    times[name].cold.push(cold);
                    times[name].warm.push(warm);
                    one[name] = { cold, warm };
                }
                ratios.cold.push(one.page.cold / one.yardstick.cold);
                ratios.warm.push(one.page.warm / one.yardstick.warm);
            }
            const ratio = (values) => `${median(values).toFixed(2)}× (${Math.min(...values).toFixed(2)}–${Math.max(...values).toFixed(2)})`;
            print(`- one box of Chinese text: cold ${spread(times.yardstick.cold)}, warm ${spread(times.yardstick.warm)}`);
            print(`- Form5: cold ${spread(times.page.cold)}, warm ${spread(times.page.warm)}`);
            print(`- ratio, round by round: cold ${ratio(ratios.cold)}, warm ${ratio(ratios.warm)}`);
        }
        if (Sections.includes("click")) {
            print("\n## A query's click (50 real clicks on 查询)");
            const page = await session.browser.newPage();
            await page.setViewport(Phone);
            const { clicks, result } = await queryFigures(page, `${site.url}#Form5`);
            const handled = clicks.map((c) => c.handled);
            const frames = clicks.map((c) => c.frame);
            const fmt = (values) => `median ${median(values).toFixed(2)} ms, at most ${Math.max(...values).toFixed(2)} ms`;
            print(`- from the input event to the end of the writes: ${fmt(handled)}`);
            print(`- from the input event to the frame that paints it: ${fmt(frames)}`);
            print(`- Text3 shows "${result}"`);
            await page.close();
        }
        if (Sections.includes("memory")) {
            print("\n## Memory after queries (after a garbage collection)");
            const memoryPage = await session.browser.newPage();
            for (const { queries, heap, wasm, code, objects } of await memoryFigures(memoryPage, `${site.url}#Form5`))
                print(`- after ${queries.toLocaleString("en")} queries: JavaScript heap ${kb(heap)} (snapshot: compiled code ${kb(code)}, everything else ${kb(objects)}), wasm memory ${kb(wasm)}`);
            await memoryPage.close();
        }
    } finally {
        await session.close();
        await yardstickSession.close();
    }
} finally {
    await site.close();
    await yardstick.close();
    await rm(yardstickFolder, { recursive: true, force: true });
}
