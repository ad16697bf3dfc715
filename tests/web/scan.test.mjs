// 扫描条码 on both query screens: a photo of a box label where the camera is refused (in every
// engine), and chromium's fake camera looking at a label. The labels are drawn by the reader's
// own test script (zint, ImageMagick), the camera's stream made from one with ffmpeg.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";

import { RepoRoot } from "./browser.mjs";
import { answerBox, boxesClosed, eachEngine, focusedControl, goTo, noBoxOpen, openBox, sel, values } from "./scenario.mjs";

const labels = mkdtempSync(join(tmpdir(), "quenlio-labels-"));
execFileSync("bash", [join(RepoRoot, "tests/reader/draw_labels.sh"), labels]);
const label = (name) => join(labels, `${name}.png`);
after(() => rmSync(labels, { recursive: true, force: true }));

// The camera looking at the 12-character label from afar, a quarter of a 1920×1080 frame wide: its
// bars are too thin to read but at the camera's own pixels.
function cameraStream() {
    const frame = join(labels, "frame.png");
    const stream = join(labels, "label.y4m");
    execFileSync("convert", [label("label"), "-resize", "480x", "-background", "white", "-gravity", "center", "-extent", "1920x1080", frame]);
    execFileSync("ffmpeg", ["-loglevel", "error", "-y", "-loop", "1", "-i", frame, "-t", "1", "-r", "10", "-pix_fmt", "yuv420p", stream]);
    return stream;
}

const Refusals = ["没有使用相机的权限，请改用照片", "没有找到可用的相机，请改用照片", "相机无法打开，请改用照片"];
const line = (page) => page.evaluate(() => document.getElementById("ScanBox-line").textContent);
const untilLine = (page, text) => page.waitFor((t) => document.getElementById("ScanBox-line").textContent === t, { message: `the line "${text}"`, timeout: 10000 }, text);

eachEngine("scanning a photo", (f) => {
    test("where the camera is refused, a photo of the label fills both boxes; a wrong picture fills nothing", async () => {
        const { page } = f;
        const notPicture = join(labels, "notes.png");
        writeFileSync(notPicture, "not a picture\n");

        await goTo(page, f.url, "Form5");
        await page.type("dnpl7");
        await page.tap(sel("Form5", "Scan"));
        const box = await page.waitFor(() => {
            const photo = document.querySelector("#ScanBox [data-answer=photo]");
            return !photo.hidden && document.activeElement.closest("dialog") && document.getElementById("ScanBox-line").textContent;
        }, { message: "the photo offered", timeout: 10000 });
        assert.ok(Refusals.includes(box), `says why: ${box}`);
        assert.deepEqual((await openBox(page)).buttons, ["拍照或选取照片", "关闭"]);

        await page.chooseFile("#ScanBox-file", notPicture);
        await untilLine(page, "无法读取这张图片");
        await page.chooseFile("#ScanBox-file", label("old-label"));
        await untilLine(page, "这是11位序列号，请到11位序列号查询中扫描");
        assert.deepEqual(await values(page, "Form5", "Text1", "Text2"), ["DNPL7", ""], "nothing filled");
        await page.chooseFile("#ScanBox-file", join(labels, "label.svg"));
        await untilLine(page, "无法读取这张图片");

        // A 48-megapixel photo, the label small in it.
        const closed = await page.evaluate(() => window.boxesClosed);
        await page.chooseFile("#ScanBox-file", label("photo"));
        await page.waitFor((n) => window.boxesClosed >= n, { message: "the photo read", timeout: 30000 }, closed + 1);
        assert.deepEqual(await values(page, "Form5", "Text1", "Text2"), ["F1RJP3XYDTWF", "MD297CH"]);
        assert.equal(await focusedControl(page), "Form5:Text2");
        assert.equal(await page.evaluate(() => document.querySelector("#Form5 [data-control=Command1]").disabled), false);

        await goTo(page, f.url, "Form3");
        await page.tap(sel("Form3", "Scan"));
        await page.waitFor(() => !document.querySelector("#ScanBox [data-answer=photo]").hidden, { message: "the photo offered", timeout: 10000 });
        const before = await page.evaluate(() => window.boxesClosed);
        await page.chooseFile("#ScanBox-file", label("old-label"));
        await boxesClosed(page, before);
        assert.deepEqual(await values(page, "Form3", "Text1", "Text2"), ["88923ABC3NP", "MB716CH"]);
        assert.equal(await page.evaluate(() => document.querySelector("#Form3 [data-control=Command1]").disabled), false);
        assert.deepEqual(page.errors, []);
    });
});

eachEngine("scanning with the camera", (f) => {
    before(() =>
        // Every stream the page gets, to see that each is let go (with `hold` it waits in `held` for the
        // test to answer, as a permission prompt holds it), and every reader ended.
        f.page.native.evaluateOnNewDocument(() => {
            const media = navigator.mediaDevices;
            if (!media) return; // about:blank
            const get = media.getUserMedia.bind(media);
            Object.assign(window, { streams: [], held: [], readersEnded: 0 });
            media.getUserMedia = async (constraints) => {
                const stream = await get(constraints);
                window.streams.push(stream);
                if (window.hold) await new Promise((answer) => window.held.push(answer));
                return stream;
            };
            const terminate = Worker.prototype.terminate;
            Worker.prototype.terminate = function () { ++window.readersEnded; return terminate.call(this); };
        }));
    const released = (page) => page.evaluate(() => window.streams.length > 0 && window.streams.every((s) => s.getTracks().every((t) => t.readyState === "ended")));
    // Another tab brought to the front hides the page; its camera must be let go at once.
    const hide = async (page) => {
        const other = await page.native.browser().newPage();
        await other.bringToFront();
        await page.waitFor(() => document.visibilityState === "hidden", { message: "the page hidden" });
        return async () => (await other.close(), await page.native.bringToFront());
    };

    test("the rear camera on a label fills the boxes and is let go; on the other screen it says where to scan", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form5");
        const closed = await page.evaluate(() => window.boxesClosed);
        await page.tap(sel("Form5", "Scan"));
        await boxesClosed(page, closed);
        assert.deepEqual(await values(page, "Form5", "Text1", "Text2"), ["F1RJP3XYDTWF", "MD297CH"]);
        assert.ok(await released(page), "the camera is released");

        await page.tap(sel("Form5", "Label9"));
        await page.waitFor(() => window.readersEnded === 1 && document.getElementById("Main"), { message: "the reader ended with its screen" });
        await page.tap(sel("Main", "Image3"));
        await page.waitFor(() => document.getElementById("Form3"), { message: "Form3" });
        await page.tap(sel("Form3", "Scan"));
        await untilLine(page, "这是12位序列号，请到12位序列号查询中扫描");
        assert.equal(await page.evaluate(() => document.querySelector("#ScanBox .camera").hidden), false);
        const writes = await page.evaluate(() => new Promise((done) => {
            new MutationObserver((records) => done(records.length)).observe(document.getElementById("ScanBox-line"), { childList: true, characterData: true, subtree: true });
            setTimeout(() => done(0), 1000);
        }));
        assert.equal(writes, 0, "the line, the same for a second, is not written again");
        const shown = await hide(page);
        const letGo = await released(page);
        await shown();
        assert.ok(letGo, "the camera is released the moment the page is hidden");
        assert.deepEqual(await values(page, "Form3", "Text1", "Text2"), ["", ""]);
        assert.equal(await line(page), "这是12位序列号，请到12位序列号查询中扫描");
        assert.deepEqual(page.errors, []);
    });

    test("a camera granted late goes only to the box that asked, and never on in a hidden page", async () => {
        const { page } = f;
        await goTo(page, f.url, "Form3");
        await page.evaluate(() => (window.hold = true));
        const ask = async (n) => (await page.tap(sel("Form3", "Scan")), await page.waitFor((n) => window.held.length === n, { message: `request ${n}` }, n));
        await ask(1);
        await answerBox(page, "取消");
        await ask(2);
        await page.evaluate(() => window.held[1]());
        await untilLine(page, "这是12位序列号，请到12位序列号查询中扫描");
        await page.evaluate(() => window.held[0]());
        await page.waitFor(() => !window.streams[0].active, { message: "the first camera stopped" });
        assert.ok(await page.evaluate(() => document.querySelector("#ScanBox video").srcObject === window.streams[1] && window.streams[1].active), "the open box keeps its camera");

        await answerBox(page, "取消");
        await ask(3);
        const shown = await hide(page);
        await page.evaluate(() => window.held[2]());
        await page.waitFor(() => window.streams.every((s) => !s.active), { message: "the cameras let go, in the hidden page too" });
        await shown();
        await noBoxOpen(page);
        assert.deepEqual(page.errors, []);
    });
}, { engines: ["chromium"], camera: cameraStream });
