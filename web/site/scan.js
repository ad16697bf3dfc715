// 扫描条码 on a query screen: a box that reads the box label's bar codes from the rear camera,
// frame after frame, or from a photo where the camera cannot be used, and gives the screen the
// serial and part number core's label rule finds in them. This module and the reader come only
// with the first press; the reading runs in a worker (scan_worker.js), off the page's thread.
// A picture with no serial's bar code (a screenshot or photo of the handset's 关于本机 screen) is
// read for text: the reader prepares it as the desktop does, tesseract.js (ocr/, fetched from the
// site on first use) recognizes the prepared pictures, and core's rule reads the words; what it
// gives is shown in the 核对 box before anything is filled in.
import * as dialogs from "./dialogs.js";
import { OcrBytes, OcrCache } from "./ocr_files.js";

// A label whose part number has not been read with its serial is given this long to show it.
const PartNumberWait = 1000;
// The reader's worker holds tens of megabytes: it is ended when its screen goes, or when no box
// has been up for this long, and the next press starts another.
const ReaderIdle = 30000;
// A label held loosely reaches past the aiming frame, above and below it most: the part read is
// the frame grown on every side by this much of its height, within what the box shows.
const AimSlack = 0.2;
// The pixels a photo is handed to the reader in at a time.
const PhotoBand = 4_000_000;
// Reading text that takes longer than this shows how far it has got.
const ProgressAfter = 500;
// The characters of serials and part numbers, as the desktop's recognizer limits them.
const Characters = "ABCDEFGHIJKLMNPQRSTUVWXYZ0123456789/";
// The lines of fetching the recognizer, which only the web has.
const fetchingLine = (bytes) => `正在下载文字识别组件（${(bytes / 1e6).toFixed(1)} MB），只需一次…`;
const OfflineLine = "文字识别组件尚未下载，现在无法联网；请直接输入序列号和型号";

// The page's one reader, made on the first press; ended, it answers null to everything.
class Reader {
    constructor() {
        this.worker = new Worker(new URL("./scan_worker.js", import.meta.url), { type: "module" });
        this.waiting = new Map(); // each picture's answer, by its id
        this.nextId = 0;
        this.ended = false;
        // The reader's constants, or null when it could not be loaded.
        this.ready = new Promise((resolve) => {
            this.loaded = resolve;
            this.worker.addEventListener("message", ({ data }) => {
                if (!("ready" in data)) {
                    this.waiting.get(data.id)?.(data.reading);
                    this.waiting.delete(data.id);
                } else if (data.ready) resolve(data.ready);
                else this.end();
            });
            this.worker.addEventListener("error", (event) => {
                event.preventDefault();
                this.end();
            });
        });
    }

    // The answer to the message `post(id)` sends, or null.
    ask(post) {
        if (this.ended) return Promise.resolve(null);
        return new Promise((resolve) => {
            const id = this.nextId++;
            this.waiting.set(id, resolve);
            post(id);
        });
    }

    // The reading of one camera frame (ImageData, whose pixels go to the worker), or null.
    read({ data, width, height }, serialLength) {
        return this.ask((id) => this.worker.postMessage({ id, pixels: data, width, height, serialLength }, [data.buffer]));
    }

    // The reading of a photo (an ImageBitmap) at its own size, or null. It goes over a band of rows
    // at a time: a canvas the size of a big photo is more than a phone's browser allows, and the
    // reader turns each band into its own grey copy, as it does every face's pixels.
    readPhoto(canvas, bitmap, serialLength) {
        const { width, height } = bitmap;
        const rows = Math.max(1, Math.floor(PhotoBand / width));
        return this.ask((id) => {
            this.worker.postMessage({ id, photo: { width, height } });
            canvas.width = width;
            const context = canvas.getContext("2d", { willReadFrequently: true });
            for (let top = 0; top < height; top += rows) {
                canvas.height = Math.min(rows, height - top);
                context.drawImage(bitmap, 0, top, width, canvas.height, 0, 0, width, canvas.height);
                const { data } = context.getImageData(0, 0, width, canvas.height);
                this.worker.postMessage({ id, band: { pixels: data, top, rows: canvas.height } }, [data.buffer]);
            }
            this.worker.postMessage({ id, serialLength });
        });
    }

    // What the photo the reader keeps as `photo` (a reading of no serial leaves it there) gives as
    // text: its prepared pictures recognized by `recognizer`, the words read by core's rule; null
    // when the reader failed. `progress` hears the share done, 0 to 1.
    async readText(photo, serialLength, recognizer, progress) {
        const pictures = await this.ask((id) => this.worker.postMessage({ id, prepare: photo }));
        if (!pictures) return null;
        const words = [];
        for (const [i, picture] of pictures.entries())
            words.push(await recognize(recognizer, picture, (share) => progress((i + share) / pictures.length)));
        return this.ask((id) => this.worker.postMessage({ id, words, of: photo, serialLength }));
    }

    // For a reader that could not load, that failed, or that is no longer wanted: the next press
    // starts another.
    end() {
        this.ended = true;
        this.worker.terminate();
        if (started === this) started = null;
        this.loaded(null);
        for (const answer of this.waiting.values()) answer(null);
        this.waiting.clear();
    }
}

// The words tesseract.js finds in a prepared picture ({ width, height, pixels }: grey bytes), each
// with its box there.
async function recognize(recognizer, { width, height, pixels }, progress) {
    const canvas = document.createElement("canvas");
    canvas.width = width;
    canvas.height = height;
    const image = new ImageData(width, height);
    const rgba = new Uint32Array(image.data.buffer); // little-endian: alpha in the high byte
    for (let i = 0; i < pixels.length; ++i) rgba[i] = 0xff000000 | (pixels[i] * 0x010101);
    canvas.getContext("2d").putImageData(image, 0, 0);
    recognizer.progress = progress;
    const { data } = await recognizer.worker.recognize(canvas, {}, { blocks: true });
    const words = [];
    for (const block of data.blocks ?? [])
        for (const paragraph of block.paragraphs)
            for (const line of paragraph.lines)
                for (const { text, bbox } of line.words)
                    words.push({ Text: text, Left: bbox.x0, Top: bbox.y0, Width: bbox.x1 - bbox.x0, Height: bbox.y1 - bbox.y0 });
    return words;
}

// The page's one recognizer, { worker, progress }, made when a picture is first read for text;
// ended with the reader.
let recognizing = null;

// Whether the recognizer's files are kept by the service worker, so it starts with no network.
async function ocrKept() {
    return "caches" in self && (await caches.has(OcrCache)) && !!(await (await caches.open(OcrCache)).match("ocr/eng.traineddata.gz"));
}

// Starts tesseract.js from the site's own ocr/ (no blob worker, under the page's policy), set up as
// the desktop's recognizer: no word lists, the characters of codes, words anywhere on the page.
function startRecognizer() {
    recognizing ??= (async () => {
        const folder = new URL("./ocr/", import.meta.url).href;
        // Fails at once without a network, rather than in the recognizer's own worker.
        if (!(await fetch(`${folder}worker.min.js`)).ok) throw new Error("no recognizer");
        const { default: Tesseract } = await import("./ocr/tesseract.esm.min.js");
        const recognizer = { worker: null, progress: () => {} };
        recognizer.worker = await Tesseract.createWorker("eng", Tesseract.OEM.LSTM_ONLY, {
            workerPath: `${folder}worker.min.js`,
            corePath: folder,
            langPath: folder.replace(/\/$/, ""),
            workerBlobURL: false,
            // The service worker keeps the files; no second copy in IndexedDB.
            cacheMethod: "none",
            logger: (m) => m.status === "recognizing text" && recognizer.progress(m.progress),
        }, { load_system_dawg: "0", load_freq_dawg: "0" });
        await recognizer.worker.setParameters({
            tessedit_char_whitelist: Characters,
            tessedit_pageseg_mode: Tesseract.PSM.SPARSE_TEXT,
            user_defined_dpi: "300",
        });
        return recognizer;
    })();
    recognizing.catch(() => (recognizing = null));
    return recognizing;
}

let started = null; // the Reader the last press started, until it ends
let idleTimer = 0; // ends the reader once no box has been up for ReaderIdle

function startReader() {
    started ??= new Reader();
    return started;
}

/** Ends the reader, if one runs: its screen has gone (or no box has been up for ReaderIdle). */
export function endReader() {
    clearTimeout(idleTimer);
    started?.end();
    recognizing?.then((recognizer) => recognizer.worker.terminate(), () => {});
    recognizing = null;
}

// The pixels of the part `sx, sy, sw, sh` of the video, scaled down to at most `longest` a side
// (which a camera asked for 1920×1080 does not reach).
function pixelsOf(canvas, source, sx, sy, sw, sh, longest) {
    const scale = Math.min(1, longest / Math.max(sw, sh));
    canvas.width = Math.max(1, Math.round(sw * scale));
    canvas.height = Math.max(1, Math.round(sh * scale));
    const context = canvas.getContext("2d", { willReadFrequently: true });
    context.drawImage(source, sx, sy, sw, sh, 0, 0, canvas.width, canvas.height);
    return context.getImageData(0, 0, canvas.width, canvas.height);
}

// The camera's own pixels under the aiming frame (grown by AimSlack), where the frame is drawn over
// the video as style.css shows it: scaled to cover its box (or to fit in it), centred.
function aimedPixels(canvas, video, aim, longest) {
    const shown = video.getBoundingClientRect();
    const frame = aim.getBoundingClientRect();
    const { videoWidth: width, videoHeight: height } = video;
    const fit = getComputedStyle(video).objectFit === "cover" ? Math.max : Math.min;
    const scale = fit(shown.width / width, shown.height / height);
    const slack = AimSlack * frame.height;
    // A point of the page, kept within the box, in the video's own pixels.
    const x = (at) => (Math.min(Math.max(at, shown.left), shown.right) - shown.left - (shown.width - width * scale) / 2) / scale;
    const y = (at) => (Math.min(Math.max(at, shown.top), shown.bottom) - shown.top - (shown.height - height * scale) / 2) / scale;
    const x0 = Math.max(0, Math.floor(x(frame.left - slack)));
    const y0 = Math.max(0, Math.floor(y(frame.top - slack)));
    const x1 = Math.min(width, Math.ceil(x(frame.right + slack)));
    const y1 = Math.min(height, Math.ceil(y(frame.bottom + slack)));
    return pixelsOf(canvas, video, x0, y0, x1 - x0, y1 - y0, longest);
}

// Why the camera cannot be used, as the box says it.
function cameraRefusal(error, texts) {
    if (error?.name === "NotAllowedError" || error?.name === "SecurityError") return texts.Refused;
    if (error?.name === "NotFoundError" || error?.name === "OverconstrainedError") return texts.NoCamera;
    return texts.CameraFailed;
}

const nextFrame = (video) =>
    new Promise((resolve) => ("requestVideoFrameCallback" in video ? video.requestVideoFrameCallback(() => resolve()) : requestAnimationFrame(() => resolve())));

// A crop of `bitmap` around `word`'s box, for the 核对 box, at most `width` pixels wide.
function drawCrop(canvas, bitmap, word) {
    canvas.hidden = !word?.Width;
    if (canvas.hidden) return;
    const pad = Math.round(word.Height / 3);
    const sx = Math.max(0, word.Left - pad), sy = Math.max(0, word.Top - pad);
    const sw = Math.min(bitmap.width - sx, word.Width + 2 * pad), sh = Math.min(bitmap.height - sy, word.Height + 2 * pad);
    const scale = Math.min(1, 320 / sw, 48 / sh) * devicePixelRatio;
    canvas.width = Math.max(1, Math.round(sw * scale));
    canvas.height = Math.max(1, Math.round(sh * scale));
    canvas.style.width = `${canvas.width / devicePixelRatio}px`;
    canvas.getContext("2d").drawImage(bitmap, sx, sy, sw, sh, 0, 0, canvas.width, canvas.height);
}

/**
 * The 核对 box for a handset screen's `screen` reading (with `bitmap`, the picture it was read
 * from, its crops beside the values; none for a label read after a screen) and, when the boxes
 * hold the other kind's reading, `label`'s beside it, compared in core.
 * @returns {Promise<"ok" | "cancel" | "same">} "ok" for 填入 or 以手机为准
 */
async function checkReading(core, screen, bitmap, label) {
    const texts = core.ScreenTexts;
    const dialog = /** @type {HTMLDialogElement} */ (document.getElementById("CheckBox"));
    const pairing = label && core.compareReadings(label.Serial, label.PartNumber, screen.Serial, screen.PartNumber);
    const differs = { Serial: pairing?.SerialDiffers, PartNumber: pairing?.PartDiffers };
    const same = pairing && !differs.Serial && !differs.PartNumber;
    dialog.querySelector("#CheckBox-title").textContent = texts.CheckTitle;
    dialog.querySelector("thead").hidden = !label;
    dialog.querySelector("thead [data-reading=label]").textContent = texts.BoxLabel;
    dialog.querySelector("thead [data-reading=screen]").textContent = texts.ScreenLabel;
    for (const row of dialog.querySelectorAll("tbody tr")) {
        const field = row.dataset.field;
        const cell = row.querySelector("td[data-reading=label]");
        cell.hidden = !label;
        cell.replaceChildren();
        const value = (text) => {
            const span = document.createElement("span");
            if (differs[field]) span.append(Object.assign(document.createElement("mark"), { textContent: `≠\u00a0${text || "—"}` }));
            else span.textContent = text || "—";
            return span;
        };
        if (label) cell.append(value(label[field]));
        row.querySelector("td[data-reading=screen] span").replaceWith(value(screen[field]));
        const canvas = row.querySelector("canvas");
        if (bitmap) drawCrop(canvas, bitmap, screen[`${field === "Serial" ? "Serial" : "Part"}From`]);
        else canvas.hidden = true;
    }
    const ok = dialog.querySelector("[data-answer=ok]");
    const cancel = dialog.querySelector("[data-answer=cancel]");
    ok.hidden = !!same;
    ok.textContent = label ? texts.TakeHandsets : texts.FillIn;
    cancel.textContent = texts.Cancel;
    dialog.querySelector("#CheckBox-line").textContent = !pairing ? "" : same ? texts.BoxAgrees : texts.BoxDisagrees;
    const answer = await dialogs.showBox(dialog, ok.hidden ? cancel : ok, new Promise(() => {}), () => {});
    return same ? "same" : answer;
}

/**
 * Opens the scan box for a screen of `serialLength`-character serials. A label read closes it and
 * hands its serial and part number (the latter "" when the label gave none) to `fill`, then says
 * in a message box what core says of the reading, if anything. A picture that holds no serial's bar
 * code (a photo picked, or 拍摄屏幕's frame) is read for text, and what it gives is offered in the
 * 核对 box before `fill` gets it. `pairing` holds what last filled both boxes, so that a box label
 * and a handset screen read one after the other are compared (机盒一致). The camera is released the
 * moment the box closes: by a reading, by 关闭 or Esc or Back, by the page being hidden while the
 * camera is on or asked for, or with its screen. Each opening keeps to itself: a camera granted
 * after its box closed is stopped at once and touches nothing of the box.
 */
export async function scanLabel(serialLength, core, pairing, fill) {
    const texts = core.ScanTexts;
    const pictureTypes = core.PictureTypes;
    const dialog = /** @type {HTMLDialogElement} */ (document.getElementById("ScanBox"));
    const camera = dialog.querySelector(".camera");
    const video = /** @type {HTMLVideoElement} */ (dialog.querySelector("video"));
    const aim = dialog.querySelector(".aim");
    const line = dialog.querySelector("#ScanBox-line");
    const file = /** @type {HTMLInputElement} */ (dialog.querySelector("#ScanBox-file"));
    const photo = /** @type {HTMLButtonElement} */ (dialog.querySelector("[data-answer=photo]"));
    const shoot = /** @type {HTMLButtonElement} */ (dialog.querySelector("[data-answer=shoot]"));
    const canvas = document.createElement("canvas");
    file.accept = pictureTypes;
    photo.textContent = core.ScreenTexts.PickPhoto;
    shoot.textContent = core.ScreenTexts.ShootScreen;
    // The line is the box's status: a screen reader may say it again at every write.
    const say = (text) => line.textContent !== text && (line.textContent = text);

    let open = true;
    let wantsCamera = true; // asked for or on, until the box offers a photo instead
    let stream = null;
    let reading = false; // a picture being read: the camera's frames wait
    let done;
    const until = new Promise((resolve) => (done = resolve));

    const stop = (media) => {
        for (const track of media?.getTracks() ?? []) track.stop();
    };
    const release = () => {
        stop(stream);
        stream = null;
        video.srcObject = null;
        shoot.hidden = true;
    };
    // The camera is not left on behind another tab; a photo being picked may hide the page, though.
    const onHidden = () => document.visibilityState === "hidden" && wantsCamera && done("cancel");
    const close = () => {
        open = false;
        release();
        document.removeEventListener("visibilitychange", onHidden);
        photo.removeEventListener("click", pickPhoto);
        shoot.removeEventListener("click", shootScreen);
        file.removeEventListener("change", readPhoto);
        idleTimer = setTimeout(endReader, ReaderIdle);
    };
    // Where the camera cannot be used: the same box offers a photo, and says why.
    const offerPhoto = (why) => {
        wantsCamera = false;
        release();
        camera.hidden = true;
        say(why);
    };
    const pickPhoto = () => {
        // Picking a photo may hide the page: the camera goes, and the photo is read instead.
        wantsCamera = false;
        release();
        camera.hidden = true;
        file.click();
    };

    // A picture's text: the recognizer fetched first if need be, then `{ text, bitmap }` closes the box.
    async function readText(reader, kept, bitmap) {
        if (!(await ocrKept())) say(fetchingLine(OcrBytes));
        let recognizer;
        try {
            recognizer = await startRecognizer();
        } catch {
            bitmap.close();
            return open && say(OfflineLine);
        }
        if (!open) return bitmap.close();
        const shown = performance.now();
        say(core.ScreenTexts.Reading);
        const text = await reader.readText(kept, serialLength, recognizer, (share) => {
            if (open && performance.now() - shown > ProgressAfter) say(`${core.ScreenTexts.Reading} ${Math.round(share * 100)}%`);
        });
        if (open && text?.Outcome === "Read") return done({ text, bitmap });
        bitmap.close();
        if (open) say(text ? text.Message : texts.Unavailable);
    }

    // A picture (an ImageBitmap): its bar codes, then, with no serial among them, its text.
    async function readPicture(bitmap) {
        say(texts.Reading);
        const reader = startReader();
        const constants = await reader.ready;
        if (!open) return;
        if (!constants) return say(texts.Unavailable);
        if (!bitmap || bitmap.width * bitmap.height > constants.MostPixels) {
            bitmap?.close();
            if (open) say(texts.UnreadablePicture);
            return;
        }
        const label = await reader.readPhoto(canvas, bitmap, serialLength);
        if (open && label?.Kept !== undefined) return readText(reader, label.Kept, bitmap);
        bitmap.close();
        if (!open) return;
        if (!label) say(texts.Unavailable);
        else if (label.Outcome === "Read") done(label);
        else say(label.Message);
    }

    async function readPhoto() {
        const chosen = file.files?.[0];
        file.value = "";
        if (!chosen) return;
        // The kinds core names, whatever the picker let through; a file of no stated kind is tried.
        let bitmap = null;
        if (!chosen.type || pictureTypes.split(",").includes(chosen.type))
            // The file's own pixel values, as the desktop decodes them.
            bitmap = await createImageBitmap(chosen, { colorSpaceConversion: "none", premultiplyAlpha: "none" }).catch(() => null);
        await readPicture(bitmap);
    }

    // 拍摄屏幕: the camera's frame at its own size, read as a picture; the camera waits meanwhile.
    async function shootScreen() {
        if (reading || !video.videoWidth) return;
        reading = true;
        await readPicture(await createImageBitmap(video).catch(() => null));
        reading = false;
    }

    async function startCamera() {
        if (!navigator.mediaDevices?.getUserMedia) return offerPhoto(window.isSecureContext ? texts.NoCamera : texts.Insecure);
        let granted;
        try {
            // A label's narrow bars need the camera's full pixels, of which only the aimed part is read.
            granted = await navigator.mediaDevices.getUserMedia({
                audio: false,
                video: { facingMode: "environment", width: { ideal: 1920 }, height: { ideal: 1080 } },
            });
        } catch (error) {
            if (open && wantsCamera) offerPhoto(cameraRefusal(error, texts));
            return;
        }
        // The box may have closed while the user was asked (the page hidden, 关闭, another box up).
        if (!open || !wantsCamera) return stop(granted);
        stream = granted;
        video.srcObject = stream;
        try {
            await video.play();
        } catch (error) {
            if (open) offerPhoto(cameraRefusal(error, texts));
            return;
        }
        if (!open || !stream) return;
        shoot.hidden = false;
        const reader = startReader();
        const constants = await reader.ready;
        if (!constants) return open && offerPhoto(texts.Unavailable);
        let serialAlone = null; // { serial, since }: a serial read without its part number
        while (open && stream) {
            await nextFrame(video);
            if (!open || !stream) return;
            if (!video.videoWidth || reading) continue;
            const got = await reader.read(aimedPixels(canvas, video, aim, constants.LongestSide), serialLength);
            if (!open || reading) continue;
            if (!got) return offerPhoto(texts.Unavailable);
            if (got.Outcome !== "Read") {
                serialAlone = null;
                say(got.Outcome === "NoSerial" ? texts.Aim : got.Message);
                continue;
            }
            if (got.PartNumber) return done(got);
            if (serialAlone?.serial !== got.Serial) serialAlone = { serial: got.Serial, since: performance.now() };
            else if (performance.now() - serialAlone.since >= PartNumberWait) return done(got);
        }
    }

    clearTimeout(idleTimer);
    camera.hidden = false;
    shoot.hidden = true;
    say(texts.Aim);
    document.addEventListener("visibilitychange", onHidden);
    photo.addEventListener("click", pickPhoto);
    shoot.addEventListener("click", shootScreen);
    file.addEventListener("change", readPhoto);
    const shown = dialogs.showBox(dialog, dialog.querySelector("[data-answer=cancel]"), until, close);
    startCamera();
    const answer = await shown;
    if (answer === "cancel") return;
    if (answer.text) return takeScreen(core, pairing, fill, answer.text, answer.bitmap);
    // A box label: compared with a handset's screen the boxes hold, it leaves them as they are.
    const screen = pairing.other("label");
    if (screen) return compared(core, pairing, fill, screen, answer, null);
    const part = await fill(answer.Serial, answer.PartNumber);
    if (answer.PartNumber) pairing.keep("label", answer.Serial, part);
    if (answer.Message) await dialogs.showMessage(answer.Message, texts.Title);
}

// A handset screen's reading, checked in the 核对 box (beside the box label's, when the boxes hold
// one) and filled in as a label would be once the user says so.
async function takeScreen(core, pairing, fill, screen, bitmap) {
    const label = pairing.other("screen");
    if (label) return compared(core, pairing, fill, screen, label, bitmap);
    const answer = await checkReading(core, screen, bitmap, null);
    bitmap.close();
    if (answer !== "ok") return;
    const part = await fill(screen.Serial, screen.PartNumber);
    pairing.keep("screen", screen.Serial, part);
}

// A handset's screen and a box label, one read after the other: 机盒一致 changes nothing and stays
// said beside the boxes; 机盒不一致 keeps the boxes unless the user takes the handset's reading.
async function compared(core, pairing, fill, screen, label, bitmap) {
    const answer = await checkReading(core, screen, bitmap, label);
    bitmap?.close();
    if (answer === "same") return pairing.say(core.ScreenTexts.BoxAgrees);
    pairing.say(core.ScreenTexts.BoxDisagrees);
    if (answer !== "ok") return;
    const part = await fill(screen.Serial, screen.PartNumber);
    pairing.keep("screen", screen.Serial, part);
    pairing.say(core.ScreenTexts.BoxDisagrees);
}
