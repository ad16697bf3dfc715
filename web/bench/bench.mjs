// The web edition's figures against the yardstick (yardstick/index.html: one Chinese heading, one
// focused text box), both served by web/serve.mjs as a host serves them (HTTP/1.1 with keep-alive,
// gzip, application/wasm), in Debian's chromium at a phone's size. A benchmark, not a test: it
// prints one markdown table for docs/benchmarks.md.
//   node web/bench/bench.mjs [ROUNDS]        (scripts/web bench [ROUNDS] builds first)
// QUENLIO_BENCH=time,memory (say) runs only those of lighthouse, bytes, time, click, memory, scan
// (which needs zint, ImageMagick and ffmpeg) and photos (ImageMagick and zint, some minutes);
// QUENLIO_SITE=FOLDER measures another build of the site.
import { execFile } from "node:child_process";
import { mkdtemp, readdir, readFile, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { promisify } from "node:util";
import { gzipSync } from "node:zlib";

import { ChromePath, Phone, launchChromium, serve } from "./chromium.mjs";

const Here = fileURLToPath(new URL(".", import.meta.url));
const SiteFolder = process.env.QUENLIO_SITE ?? join(Here, "..", "..", "build-web", "site");
const Rounds = Number(process.argv[2] ?? 21);
const Sections = (process.env.QUENLIO_BENCH ?? "lighthouse,bytes,time,click,memory,scan,photos").split(",");
const Serial = "DNPH7ABCDTDK"; // a serial of the catalogue, MD269LL
const Text1 = "#Form5 [data-control=Text1]";
const Query = "#Form5 [data-control=Command1]";

const median = (values) => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const range = (values, digits, unit) =>
    `${median(values).toFixed(digits)}${unit} (${Math.min(...values).toFixed(digits)}–${Math.max(...values).toFixed(digits)})`;
const kb = (bytes) => `${(bytes / 1024).toLocaleString("en", { minimumFractionDigits: 1, maximumFractionDigits: 1 })} KB`;

// Lighthouse's own command line, mobile (its default form factor), in a chromium it launches.
// Not synchronous: this process serves the pages it opens.
async function lighthouse(url) {
    const report = join(tmpdir(), `quenlio-lighthouse-${process.pid}.json`);
    await promisify(execFile)(join(Here, "node_modules", ".bin", "lighthouse"), [
        url, "--quiet", "--form-factor=mobile", "--only-categories=performance,accessibility,best-practices",
        "--output=json", `--output-path=${report}`, "--chrome-flags=--headless=new --no-sandbox --disable-gpu --no-first-run",
    ], { env: { ...process.env, CHROME_PATH: ChromePath } }); // it has no flag for the chromium
    const { categories, audits } = JSON.parse(await readFile(report, "utf8"));
    await rm(report);
    const scores = ["performance", "accessibility", "best-practices"].map((id) => Math.round(categories[id].score * 100));
    const metrics = Object.entries({ FCP: "first-contentful-paint", LCP: "largest-contentful-paint", TBT: "total-blocking-time", CLS: "cumulative-layout-shift" })
        .map(([name, id]) => `${name} ${audits[id]?.displayValue ?? ""}`);
    const failing = Object.values(audits)
        .filter((audit) => audit.scoreDisplayMode !== "informative" && audit.score !== null && audit.score < 1)
        .map((audit) => `${audit.id} ${audit.score}`);
    return `${scores.join(" / ")} (${metrics.join(", ")})${failing.length ? `; below 1: ${failing.join(", ")}` : ""}`;
}

async function lighthouseFigures(site, yardstick) {
    return [
        ["Lighthouse, one box of Chinese text (performance / accessibility / best practices)", await lighthouse(yardstick)],
        ["Lighthouse, `Form5`", await lighthouse(site)],
    ];
}

// Bytes the page itself loaded (its requests, not its service worker's), as sent.
async function startViewBytes(browser, url, ready) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport(Phone);
    const cdp = await page.createCDPSession();
    await cdp.send("Network.enable");
    let bytes = 0;
    let responses = 0;
    cdp.on("Network.loadingFinished", (event) => (bytes += event.encodedDataLength));
    cdp.on("Network.responseReceived", () => ++responses);
    await page.goto(url, { waitUntil: "networkidle0" });
    await page.waitForSelector(ready);
    await context.close();
    return `${kb(bytes)} in ${responses} responses`;
}

// Every file of the built site, gzipped as web/serve.mjs sends it (PNG as it is).
async function wholeEdition() {
    let total = 0;
    for (const entry of await readdir(SiteFolder, { recursive: true, withFileTypes: true })) {
        if (!entry.isFile()) continue;
        const bytes = await readFile(join(entry.parentPath, entry.name));
        total += entry.name.endsWith(".png") ? bytes.length : gzipSync(bytes).length;
    }
    return kb(total);
}

async function byteFigures(browser, site, yardstick) {
    return [
        ["Bytes the start view loads, gzipped as sent", await startViewBytes(browser, site, "html[data-ready]")],
        ["The same, one box of Chinese text", await startViewBytes(browser, yardstick, "#Text1")],
        ["The whole edition, gzipped (PNG as they are)", await wholeEdition()],
    ];
}

// Put in before any script of the page runs: records when a text box first has the focus while enabled.
function watchFirstFocus() {
    const seen = () => {
        const box = document.activeElement;
        if (window.__usable === undefined && box instanceof HTMLInputElement && !box.disabled)
            window.__usable = performance.now();
    };
    document.addEventListener("focusin", seen, true);
    // autofocus can give the focus before a listener on the document sees it.
    const poll = () => {
        seen();
        if (window.__usable === undefined) requestAnimationFrame(poll);
    };
    requestAnimationFrame(poll);
}

// One navigation: when the box had the focus, once a key typed has landed in it.
async function timeToUsable(page, url, box) {
    await page.goto("about:blank");
    await page.goto(url, { waitUntil: "load" });
    await page.waitForFunction(() => window.__usable !== undefined);
    const at = await page.evaluate(() => window.__usable);
    // The page holds a key typed before its core has arrived and shows it once the core is there.
    await page.keyboard.type("f");
    await page.waitForFunction((s) => /^f$/i.test(document.querySelector(s).value), { timeout: 10000 }, box)
        .catch(() => { throw new Error(`${url}: the box did not take the key`); });
    return at;
}

// Cold: a fresh context, nothing cached and no service worker; warm: the same context again, with
// its cache (and, for the page, its worker) in place.
async function coldAndWarm(browser, url, box) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.setViewport(Phone);
    await page.evaluateOnNewDocument(watchFirstFocus);
    const cold = await timeToUsable(page, url, box);
    // Let the service worker install and take the page, as a second visit finds it.
    await page.evaluate(async () => {
        if (await navigator.serviceWorker?.getRegistration()) await navigator.serviceWorker.ready;
    });
    const warm = await timeToUsable(page, url, box);
    await context.close();
    return { cold, warm };
}

async function timeFigures(browser, site, yardstick) {
    const rounds = [];
    // The two pages alternated, the yardstick first (an object literal's values are computed in order).
    for (let round = 0; round < Rounds; ++round)
        rounds.push({ one: await coldAndWarm(browser, yardstick, "#Text1"), page: await coldAndWarm(browser, site, Text1) });
    const times = (which, visit) => range(rounds.map((round) => round[which][visit]), 0, " ms");
    const ratio = (visit) => range(rounds.map((round) => round.page[visit] / round.one[visit]), 2, "×");
    return [
        ["Time to a focused box that takes keys, one box of Chinese text, cold / warm", `${times("one", "cold")} / ${times("one", "warm")}`],
        ["The same, `Form5`", `${times("page", "cold")} / ${times("page", "warm")}`],
        [`\`Form5\` to the yardstick round by round (${Rounds} rounds), cold`, ratio("cold")],
        ["The same, warm (a second visit: HTTP cache, and for the page its service worker)", ratio("warm")],
    ];
}

// Opens Form5 with a serial typed in and 查询 enabled.
async function openQuery(page, site) {
    await page.goto(site, { waitUntil: "load" });
    await page.waitForSelector("html[data-ready] #Form5");
    await page.type(Text1, Serial);
    await page.waitForFunction((query) => !document.querySelector(query).disabled, {}, Query);
}

async function clickFigures(browser, site) {
    const page = await browser.newPage();
    await page.setViewport(Phone);
    await openQuery(page, site);
    await page.evaluate((query) => {
        window.__clicks = [];
        const button = document.querySelector(query);
        // Listeners on the window run after the button's own, so `done` follows the writes.
        window.addEventListener("click", (event) => {
            if (event.target !== button) return;
            const done = performance.now();
            requestAnimationFrame((frame) => window.__clicks.push({ handled: done - event.timeStamp, frame: frame - event.timeStamp }));
        });
    }, Query);
    for (let i = 0; i < 50; ++i) await page.click(Query);
    await page.waitForFunction(() => window.__clicks.length === 50);
    const clicks = await page.evaluate(() => window.__clicks);
    const result = await page.$eval("#Form5 [data-control=Text3]", (box) => box.value);
    await page.close();
    const times = (values) => `median ${median(values).toFixed(2)} ms, at most ${Math.max(...values).toFixed(2)} ms`;
    return [
        ["A query's click: input event to the end of the writes (50 real clicks)", times(clicks.map((click) => click.handled))],
        ["The same, to the frame that paints it", times(clicks.map((click) => click.frame))],
        ["Text3 after them", result],
    ];
}

// A heap snapshot split in two: the code the engine compiles as functions grow hot (JavaScript
// and the wasm's optimised tier), which grows for a while after start, and everything else.
async function heapParts(cdp) {
    const chunks = [];
    const take = (event) => chunks.push(event.chunk);
    cdp.on("HeapProfiler.addHeapSnapshotChunk", take);
    await cdp.send("HeapProfiler.takeHeapSnapshot", { reportProgress: false });
    cdp.off("HeapProfiler.addHeapSnapshotChunk", take);
    const { snapshot: { meta }, nodes, strings } = JSON.parse(chunks.join(""));
    const [type, name, size] = ["type", "name", "self_size"].map((field) => meta.node_fields.indexOf(field));
    const parts = { code: 0, objects: 0 };
    for (let i = 0; i < nodes.length; i += meta.node_fields.length) {
        const compiled = meta.node_types[0][nodes[i + type]] === "code" || strings[nodes[i + name]].includes("WasmNativeModule");
        parts[compiled ? "code" : "objects"] += nodes[i + size];
    }
    return parts;
}

// Put in before any script of the page runs: keeps the memory of the module the page instantiates
// (Runtime.queryObjects could find it on the heap, but it gave no answer with this chromium).
function catchWasmMemory() {
    const keep = (result) => {
        const exports = (result.instance ?? result).exports;
        window.__wasmMemory = Object.values(exports).find((value) => value instanceof WebAssembly.Memory);
        return result;
    };
    for (const name of ["instantiate", "instantiateStreaming"]) {
        const original = WebAssembly[name];
        if (original) WebAssembly[name] = (...args) => original(...args).then(keep);
    }
}

async function memoryFigures(browser, site) {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(catchWasmMemory);
    await openQuery(page, site);
    const cdp = await page.createCDPSession();
    const steps = [];
    for (const upTo of [10, 1000, 100000]) {
        // Twenty at a time, so the clicks are no long task the browser keeps a record of.
        for (let left = upTo - (steps.at(-1)?.upTo ?? 0); left > 0; left -= 20)
            await page.evaluate((query, count) => {
                for (let i = 0; i < count; ++i) document.querySelector(query).click();
            }, Query, Math.min(left, 20));
        for (let i = 0; i < 3; ++i) await cdp.send("HeapProfiler.collectGarbage");
        const { usedSize } = await cdp.send("Runtime.getHeapUsage");
        const wasm = await page.evaluate(() => window.__wasmMemory?.buffer.byteLength ?? NaN);
        steps.push({ upTo, heap: usedSize, wasm, ...(await heapParts(cdp)) });
    }
    await page.close();
    const each = (key) => steps.map((step) => kb(step[key])).join(" / ");
    return [
        ["wasm memory after 10 / 1,000 / 100,000 queries", each("wasm")],
        ["JavaScript heap after 10 / 1,000 / 100,000 queries (after garbage collections)", each("heap")],
        ["The heap snapshot's compiled code, the same steps", each("code")],
        ["The heap snapshot's everything else, the same steps", each("objects")],
    ];
}

// A box label as the camera sees it: the serial and part number as Code 128 (zint), a quarter of
// a 1920×1080 frame wide, and the same as a Y4M stream for chromium's fake camera (ffmpeg); and the
// middle 1440×848 of the frame, as much as the scan box reads of it around its aiming frame.
async function drawLabel(folder) {
    const run = promisify(execFile);
    await run("zint", ["--barcode=20", "--data=SF1RJP3XYDTWF", "--scale=2", "--height=40", `--output=${folder}/serial.png`]);
    await run("zint", ["--barcode=20", "--data=1PMD297CH/A", "--scale=2", "--height=40", `--output=${folder}/part.png`]);
    await run("convert", [`${folder}/serial.png`, `${folder}/part.png`, "-background", "white", "-gravity", "center", "-smush", "30",
        "-resize", "480x", "-extent", "1920x1080", `${folder}/frame.png`]);
    await run("convert", [`${folder}/frame.png`, "-gravity", "center", "-crop", "1440x848+0+0", "+repage", `${folder}/crop.png`]);
    await run("ffmpeg", ["-loglevel", "error", "-y", "-loop", "1", "-i", `${folder}/frame.png`, "-t", "1", "-r", "10", "-pix_fmt", "yuv420p", `${folder}/frame.y4m`]);
    return { frame: `${folder}/crop.png`, stream: `${folder}/frame.y4m` };
}

// The scan box's worker on the page, reading the frame 30 times: the round trip of each, pixels in
// to the label's reading out.
async function frameReads(page, frame) {
    return page.evaluate(async (png) => {
        const bitmap = await createImageBitmap(new Blob([Uint8Array.from(atob(png), (c) => c.charCodeAt(0))]));
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        canvas.getContext("2d").drawImage(bitmap, 0, 0);
        const worker = new Worker("scan_worker.js", { type: "module" });
        const answer = () => new Promise((resolve) => worker.addEventListener("message", ({ data }) => resolve(data), { once: true }));
        await answer(); // the reader loaded
        const times = [];
        let reading;
        for (let i = 0; i < 30; ++i) {
            const pixels = canvas.getContext("2d").getImageData(0, 0, bitmap.width, bitmap.height).data;
            const start = performance.now();
            worker.postMessage({ id: i, pixels, width: bitmap.width, height: bitmap.height, serialLength: 12 }, [pixels.buffer]);
            reading = (await answer()).reading;
            times.push(performance.now() - start);
        }
        worker.terminate();
        return { times, reading: `${reading.Serial} ${reading.PartNumber}` };
    }, (await readFile(frame)).toString("base64"));
}

// From the tap on 扫描条码 to both boxes filled, the camera looking at the label: the first press of
// a page (scan.js, the worker and the reader fetched, the camera opened) and a second one.
async function pressToFilled(page, url) {
    await page.goto(url, { waitUntil: "load" });
    await page.waitForSelector("html[data-ready] #Form5");
    const times = [];
    for (let press = 0; press < 2; ++press) {
        // A fresh Form5 on the same page: by the menu and back.
        if (press > 0) {
            await page.evaluate(() => (location.hash = "#/Main"));
            await page.waitForSelector("#Main");
            await page.evaluate(() => (location.hash = "#/Form5"));
            await page.waitForSelector("#Form5");
        }
        const start = Date.now();
        await page.tap("#Form5 [data-control=Scan]");
        await page.waitForFunction(() => document.querySelector("#Form5 [data-control=Text2]").value === "MD297CH" && !document.getElementById("ScanBox").open,
            { polling: "raf", timeout: 10000 }).catch(async (error) => {
            throw new Error(`${error.message}: the scan box says ${await page.$eval("#ScanBox-line", (line) => line.textContent)}`);
        });
        times.push(Date.now() - start);
    }
    return times;
}

async function scanFigures(url) {
    const folder = await mkdtemp(join(tmpdir(), "quenlio-bench-label-"));
    const { frame, stream } = await drawLabel(folder);
    const { browser, close } = await launchChromium({ camera: stream });
    try {
        const reads = [];
        let first = [], second = [], reading = "";
        for (let round = 0; round < Math.min(Rounds, 5); ++round) {
            const context = await browser.createBrowserContext();
            let page = await context.newPage();
            await page.setViewport(Phone);
            await page.goto(url, { waitUntil: "load" });
            const frames = await frameReads(page, frame);
            reads.push(...frames.times);
            reading = frames.reading;
            await page.close();
            page = await context.newPage();
            await page.setViewport(Phone);
            const [cold, warm] = await pressToFilled(page, url);
            first.push(cold);
            second.push(warm);
            await context.close();
        }
        const reader = ["quenlio_reader.wasm", "quenlio_reader.js", "scan_worker.js", "scan.js"];
        let bytes = 0;
        for (const file of reader) bytes += gzipSync(await readFile(join(SiteFolder, file))).length;
        return [
            [`The reader, gzipped (${reader.join(", ")})`, kb(bytes)],
            ["A camera frame's aimed part (1440×848 of 1920×1080) read in the scan box's worker, round trip", `${range(reads, 1, " ms")}; it read ${reading}`],
            ["Tap on 扫描条码 to both boxes filled, the camera on a label: first press of a page / second", `${range(first, 0, " ms")} / ${range(second, 0, " ms")}`],
        ];
    } finally {
        await close();
        await rm(folder, { recursive: true, force: true });
    }
}

// bench/label_photos.sh's photos read through the scan box's photo path (chromium here has no
// camera, so the box offers a photo), each on the screen its answer belongs to, or on both where
// nothing may be filled; as bench/read_rate.cpp reads them on the desktop. QUENLIO_PHOTOS names a
// folder drawn already.
async function photoFigures(browser, url) {
    const run = promisify(execFile);
    let folder = process.env.QUENLIO_PHOTOS;
    const drawn = !folder;
    if (drawn) {
        folder = await mkdtemp(join(tmpdir(), "quenlio-bench-photos-"));
        await run("bash", [join(Here, "..", "..", "bench", "label_photos.sh"), folder], { maxBuffer: 1 << 24 });
    }
    const page = await browser.newPage();
    await page.setViewport(Phone);
    try {
        const counts = { right: 0, alone: 0, missed: 0, wrong: 0 };
        const lines = [];
        const answers = (await readFile(join(folder, "answers.csv"), "utf8")).trim().split("\n").slice(1);
        for (const [file, serial, part] of answers.map((row) => row.split(","))) {
            const screens = serial ? [serial.length === 12 ? "Form5" : "Form3"] : ["Form5", "Form3"];
            let got = "";
            const start = Date.now();
            for (const screen of screens) {
                await page.goto("about:blank");
                await page.goto(`${url.replace(/#.*/, "")}#/${screen}`, { waitUntil: "load" });
                await page.waitForSelector(`html[data-ready] #${screen}`);
                await page.tap(`#${screen} [data-control=Scan]`);
                await page.waitForSelector("#ScanBox [data-answer=photo]:not([hidden])");
                await (await page.$("#ScanBox-file")).uploadFile(join(folder, file));
                // Filled (the box closed), or a line that is neither the reading nor the camera's.
                await page.waitForFunction(() => !document.getElementById("ScanBox").open ||
                    (document.getElementById("ScanBox-line").textContent !== "正在读取……" && !/请改用照片$/.test(document.getElementById("ScanBox-line").textContent)),
                { timeout: 60000 });
                const [text1, text2] = await page.$$eval(`#${screen} [data-control^=Text]`, (boxes) => boxes.slice(0, 2).map((b) => b.value));
                if (text1) got += `${text1} ${text2}`;
            }
            const expected = serial ? `${serial} ${part}` : "";
            const verdict = got === expected ? "right" : serial && got === `${serial} ` ? "alone" : got ? "wrong" : "missed";
            ++counts[verdict];
            lines.push(`${file} ${got || "-"} ${verdict} ${Date.now() - start} ms`);
        }
        console.error(lines.join("\n"));
        return [[`The label photos of bench/label_photos.sh read through the photo path (${answers.length}): right / serial alone / missed / wrong`,
            `${counts.right} / ${counts.alone} / ${counts.missed} / ${counts.wrong}`]];
    } finally {
        await page.close();
        if (drawn) await rm(folder, { recursive: true, force: true });
    }
}

const Names = ["lighthouse", "bytes", "time", "click", "memory", "scan", "photos"];
const unknown = Sections.filter((section) => !Names.includes(section));
if (unknown.length) throw new Error(`QUENLIO_BENCH: no section ${unknown.join(", ")}; there are ${Names.join(", ")}`);

const load = (await readFile("/proc/loadavg", "utf8")).split(" ")[0];
const site = await serve(SiteFolder);
const yardstick = await serve(join(Here, "yardstick"));
const form5 = `${site.url}#/Form5`;
const rows = [];
const section = async (name, figures) => {
    if (!Sections.includes(name)) return;
    console.error(`${name}…`);
    rows.push(...(await figures()));
};
try {
    // Lighthouse's chromium runs before the bench's own, not beside it.
    await section("lighthouse", () => lighthouseFigures(form5, yardstick.url));
    const { browser, close } = await launchChromium();
    try {
        await section("bytes", () => byteFigures(browser, form5, yardstick.url));
        await section("time", () => timeFigures(browser, form5, yardstick.url));
        await section("click", () => clickFigures(browser, form5));
        await section("memory", () => memoryFigures(browser, form5));
        await section("photos", () => photoFigures(browser, form5));
    } finally {
        await close();
    }
    // In a chromium of its own, which has a camera.
    await section("scan", () => scanFigures(form5));
} finally {
    await site.close();
    await yardstick.close();
}

console.log(`# The web edition against one box of Chinese text (${Rounds} rounds, load ${load})\n`);
console.log("| Figure | Value |\n|---|---|");
for (const [figure, value] of rows) console.log(`| ${figure} | ${value.replaceAll("|", "\\|")} |`);
