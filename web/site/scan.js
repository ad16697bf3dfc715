// 扫描条码 on a query screen: a box that reads the box label's bar codes from the rear camera,
// frame after frame, or from a photo where the camera cannot be used, and gives the screen the
// serial and part number core's label rule finds in them. This module and the reader come only
// with the first press; the reading runs in a worker (scan_worker.js), off the page's thread.
import * as dialogs from "./dialogs.js";

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

/**
 * Opens the scan box for a screen of `serialLength`-character serials. A label read closes it and
 * hands its serial and part number (the latter "" when the label gave none) to `fill`, then says
 * in a message box what core says of the reading, if anything. The camera is released the moment
 * the box closes: by a reading, by 关闭 or Esc or Back, by the page being hidden while the camera
 * is on or asked for, or with its screen. Each opening keeps to itself: a camera granted after
 * its box closed is stopped at once and touches nothing of the box.
 */
export async function scanLabel(serialLength, texts, pictureTypes, fill) {
    const dialog = /** @type {HTMLDialogElement} */ (document.getElementById("ScanBox"));
    const camera = dialog.querySelector(".camera");
    const video = /** @type {HTMLVideoElement} */ (dialog.querySelector("video"));
    const aim = dialog.querySelector(".aim");
    const line = dialog.querySelector("#ScanBox-line");
    const file = /** @type {HTMLInputElement} */ (dialog.querySelector("#ScanBox-file"));
    const photo = /** @type {HTMLButtonElement} */ (dialog.querySelector("[data-answer=photo]"));
    const canvas = document.createElement("canvas");
    file.accept = pictureTypes;
    // The line is the box's status: a screen reader may say it again at every write.
    const say = (text) => line.textContent !== text && (line.textContent = text);

    let open = true;
    let wantsCamera = true; // asked for or on, until the box offers a photo instead
    let stream = null;
    let done;
    const until = new Promise((resolve) => (done = resolve));

    const stop = (media) => {
        for (const track of media?.getTracks() ?? []) track.stop();
    };
    const release = () => {
        stop(stream);
        stream = null;
        video.srcObject = null;
    };
    // The camera is not left on behind another tab; a photo being picked may hide the page, though.
    const onHidden = () => document.visibilityState === "hidden" && wantsCamera && done("cancel");
    const close = () => {
        open = false;
        release();
        document.removeEventListener("visibilitychange", onHidden);
        photo.removeEventListener("click", pickPhoto);
        file.removeEventListener("change", readPhoto);
        idleTimer = setTimeout(endReader, ReaderIdle);
    };
    // Where the camera cannot be used: the same box offers a photo, and says why.
    const offerPhoto = (why) => {
        wantsCamera = false;
        release();
        camera.hidden = true;
        photo.hidden = false;
        say(why);
    };
    const pickPhoto = () => file.click();
    async function readPhoto() {
        const chosen = file.files?.[0];
        file.value = "";
        if (!chosen) return;
        say(texts.Reading);
        const reader = startReader();
        const constants = await reader.ready;
        if (!open) return;
        if (!constants) return say(texts.Unavailable);
        // The kinds core names, whatever the picker let through; a file of no stated kind is tried.
        let bitmap = null;
        if (!chosen.type || pictureTypes.split(",").includes(chosen.type))
            // The file's own pixel values, as the desktop decodes them.
            bitmap = await createImageBitmap(chosen, { colorSpaceConversion: "none", premultiplyAlpha: "none" }).catch(() => null);
        if (!bitmap || bitmap.width * bitmap.height > constants.MostPixels) {
            bitmap?.close();
            if (open) say(texts.UnreadablePicture);
            return;
        }
        const reading = await reader.readPhoto(canvas, bitmap, serialLength);
        bitmap.close();
        if (!open) return;
        if (!reading) say(texts.Unavailable);
        else if (reading.Outcome === "Read") done(reading);
        else say(reading.Message);
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
            if (open) offerPhoto(cameraRefusal(error, texts));
            return;
        }
        // The box may have closed while the user was asked (the page hidden, 关闭, another box up).
        if (!open) return stop(granted);
        stream = granted;
        video.srcObject = stream;
        try {
            await video.play();
        } catch (error) {
            if (open) offerPhoto(cameraRefusal(error, texts));
            return;
        }
        if (!open) return;
        const reader = startReader();
        const constants = await reader.ready;
        if (!constants) return open && offerPhoto(texts.Unavailable);
        let serialAlone = null; // { serial, since }: a serial read without its part number
        while (open && stream) {
            await nextFrame(video);
            if (!open || !stream) return;
            if (!video.videoWidth) continue;
            const reading = await reader.read(aimedPixels(canvas, video, aim, constants.LongestSide), serialLength);
            if (!open) return;
            if (!reading) return offerPhoto(texts.Unavailable);
            if (reading.Outcome !== "Read") {
                serialAlone = null;
                say(reading.Outcome === "NoSerial" ? texts.Aim : reading.Message);
                continue;
            }
            if (reading.PartNumber) return done(reading);
            if (serialAlone?.serial !== reading.Serial) serialAlone = { serial: reading.Serial, since: performance.now() };
            else if (performance.now() - serialAlone.since >= PartNumberWait) return done(reading);
        }
    }

    clearTimeout(idleTimer);
    camera.hidden = false;
    photo.hidden = true;
    say(texts.Aim);
    document.addEventListener("visibilitychange", onHidden);
    photo.addEventListener("click", pickPhoto);
    file.addEventListener("change", readPhoto);
    const answer = dialogs.showBox(dialog, dialog.querySelector("[data-answer=cancel]"), until, close);
    startCamera();
    const reading = await answer;
    if (reading === "cancel") return;
    await fill(reading.Serial, reading.PartNumber);
    if (reading.Message) await dialogs.showMessage(reading.Message, texts.Title);
}
