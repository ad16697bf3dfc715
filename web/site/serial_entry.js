// What the two query screens do alike with their boxes, as the desktop's serial entry does:
// keep a box's text in the form core gives it, typed, pasted, dropped or written by the
// page, at most its length in characters; and check the serial when the focus moves, with
// the message, the emptied serial and the focus given back.
import * as dialogs from "./dialogs.js";

/**
 * What a box of at most `max` characters keeps when the browser has made `value` of `before`
 * ({ value, start, end }: the text and the selection the change replaced): over the limit, only
 * as much of what was typed, pasted or dropped as fits, where it went, the rest of the text as it
 * stood. Counted by core, a character outside the BMP one, never half of one.
 */
export function keepWithin(value, before, max, core) {
    if (core.charCount(value) <= max) return value;
    const head = before.value.slice(0, before.start);
    const tail = before.value.slice(before.end);
    if (!value.startsWith(head) || !value.endsWith(tail) || value.length < head.length + tail.length)
        return core.charSlice(value, 1, max);
    const inserted = value.slice(head.length, value.length - tail.length);
    const room = Math.max(max - core.charCount(head + tail), 0);
    return core.charSlice(head + core.charSlice(inserted, 1, room) + tail, 1, max);
}

/**
 * A box of a screen: `box.set(text)` writes it as the page, `box.text` reads it. `normalise` is a
 * core function or null: a box that has one keeps its text in core's form with the caret at the
 * end, as the serial and part-number boxes do; `max` (characters, or 0 for no limit).
 * `onChange` runs once per change, on the final text, as a desktop box's change event does.
 */
export class Box {
    constructor(input, core, { normalise = null, max = 0, onChange = () => {} } = {}) {
        this.input = input;
        this.core = core;
        this.normalise = normalise;
        this.max = max;
        this.onChange = onChange;
        this.last = input.value;
        this.before = null;
        input.addEventListener("beforeinput", () => {
            this.before = { value: input.value, start: input.selectionStart ?? 0, end: input.selectionEnd ?? 0 };
        });
        input.addEventListener("input", (event) => {
            if (event.isComposing) return;
            this.accept(this.limit(input.value));
        });
        input.addEventListener("compositionend", () => this.accept(this.limit(input.value)));
    }

    get text() {
        return this.input.value;
    }

    /** Writes the box as the page; resolves once its change has run. */
    set(text) {
        return this.accept(this.max ? this.core.charSlice(text, 1, this.max) : text);
    }

    /** As the user selecting the whole text and pasting `text` over it; resolves as set() does. */
    pasteOver(text) {
        this.input.focus();
        this.input.select();
        return this.set(text);
    }

    limit(value) {
        if (!this.max) return value;
        const end = this.last.length;
        return keepWithin(value, this.before ?? { value: this.last, start: end, end }, this.max, this.core);
    }

    accept(text) {
        const normal = this.normalise ? this.normalise(text) : text;
        if (this.input.value !== normal) this.input.value = normal;
        this.before = null;
        // Also after a deletion, which the normal form leaves as it is.
        if (this.normalise && document.activeElement === this.input) this.input.setSelectionRange(normal.length, normal.length);
        if (normal === this.last) return;
        this.last = normal;
        return this.onChange(normal);
    }
}

// A scanner types a character every 1-10 ms over USB, up to 30-40 ms over Bluetooth; even a fast
// typist rarely types two keys 60 ms apart. A key this soon after the last is fast.
const FastGap = 50;
// A burst is at least this many keys, each fast after the one before: as many as the shortest code
// a box takes from a scanner (a part number without its identifier).
const BurstKeys = 6;
// A burst with no Enter or Tab at its end has ended when no key has followed it for this long.
const BurstPause = 100;
const Modifiers = ["Shift", "Control", "Alt", "AltGraph", "Meta", "CapsLock"];

/**
 * A hand scanner is a keyboard that types a bar code's text in one burst, then Enter or Tab: told
 * from a person by the pace of the keys typed into `inputs`, a burst goes whole to `take` (its
 * Enter or Tab with it, so it presses and moves nothing); a person's keys reach the boxes as typed,
 * one by one, once that is clear, a few tens of milliseconds later. Keys an input method composes
 * are left to it.
 */
export class KeyBursts {
    constructor(inputs, take) {
        this.take = take;
        this.held = []; // the characters of the keys held back
        this.last = 0; // the last one's event.timeStamp
        this.timer = 0;
        for (const input of inputs) input.addEventListener("keydown", (event) => this.keydown(event), true);
        // A press elsewhere on the screen moves the focus: what is held goes first, where it was typed.
        (inputs[0].closest("section") ?? document).addEventListener("pointerdown", () => this.decide(), true);
    }

    decide() {
        if (this.held.length >= BurstKeys) this.takeBurst();
        else if (this.held.length) this.release();
    }

    keydown(event) {
        if (event.isComposing || event.keyCode === 229 || Modifiers.includes(event.key)) return;
        const character = [...event.key].length === 1 && !event.repeat && !event.ctrlKey && !event.altKey && !event.metaKey;
        if (!this.held.length) {
            if (character) this.hold(event, FastGap);
            return;
        }
        const burst = this.held.length >= BurstKeys;
        if (burst && (event.key === "Enter" || event.key === "Tab")) {
            event.preventDefault();
            event.stopImmediatePropagation();
            this.takeBurst();
            return;
        }
        if (character && event.timeStamp - this.last <= (burst ? BurstPause : FastGap)) {
            this.hold(event, this.held.length + 1 >= BurstKeys ? BurstPause : FastGap);
            return;
        }
        // Too slow for a burst, or no character: what was held is decided, and this key starts afresh.
        this.decide();
        this.keydown(event);
    }

    hold(event, wait) {
        event.preventDefault();
        this.held.push(event.key);
        this.last = event.timeStamp;
        clearTimeout(this.timer);
        this.timer = setTimeout(() => this.decide(), wait);
    }

    // A person's keys, into the box that has the focus now, as the browser types them.
    release() {
        clearTimeout(this.timer);
        const held = this.held;
        this.held = [];
        for (const character of held) document.execCommand("insertText", false, character);
    }

    takeBurst() {
        clearTimeout(this.timer);
        const text = this.held.join("");
        this.held = [];
        this.take(text);
    }
}

/**
 * What a screen of `serialLength`-character serials does with one code a hand scanner typed: fills
 * `serial` or `partNumber` as 扫描条码 does, or says in a message box why it is for neither. A part
 * number scanned before its serial waits for it; typing in the serial box drops it.
 */
export function takeScanned(core, serialLength, serial, partNumber) {
    let waitingPart = "";
    serial.input.addEventListener("input", () => (waitingPart = ""));
    return async (text) => {
        const code = core.readScannedCode(text, serialLength);
        if (code.Message) return dialogs.showMessage(code.Message, core.ScanTexts.Title);
        if (code.Serial) await serial.pasteOver(code.Serial);
        else waitingPart = code.PartNumber;
        if (!waitingPart || partNumber.input.disabled || partNumber.input.readOnly) return;
        const part = waitingPart;
        waitingPart = "";
        await partNumber.pasteOver(part);
    };
}

let scanning = null; // scan.js, once a press has brought it

/**
 * 扫描条码: the scan box for serials of `serialLength` characters; a label read goes into `serial`
 * and then, when it is open by then, `partNumber`, each pasted over through its own handlers.
 * The box's texts and the picture kinds it takes are core's.
 */
export async function scanInto(core, serialLength, serial, partNumber) {
    let scan;
    try {
        scan = scanning = await import("./scan.js");
    } catch {
        // Offline before the first visit kept the scan's code.
        await dialogs.showMessage(core.ScanTexts.Unavailable, core.ScanTexts.Title);
        return;
    }
    await scan.scanLabel(serialLength, core.ScanTexts, core.PictureTypes, async (serialText, partText) => {
        await serial.pasteOver(serialText);
        if (partText && !partNumber.input.disabled && !partNumber.input.readOnly) await partNumber.pasteOver(partText);
    });
}

/** For a screen that goes: ends the bar-code reader 扫描条码 started, if any (it is started again when needed). */
export function endScan() {
    scanning?.endReader();
}

/**
 * The check of a serial run when the focus moves into or out of a box: a serial `accepts`
 * rejects is reported, then emptied and given the focus. The focus leaving and coming back
 * with the window, or going into the message box, starts no check.
 */
export class SerialCheck {
    constructor(serial, accepts, message, title) {
        this.serial = serial;
        this.accepts = accepts;
        this.message = message;
        this.title = title;
        this.running = false;
        this.runs = 0;
        this.done = Promise.resolve();
        this.closed = false;
    }

    /** Runs on `box` gaining ("focus") or losing ("blur") the focus. */
    runOn(box, eventName) {
        let withWindow = false;
        box.addEventListener("blur", () => {
            // The window lost the focus: the box is still the active element of the page.
            withWindow = document.activeElement === box;
        });
        box.addEventListener(eventName, () => {
            const viaWindow = withWindow;
            if (eventName === "focus") withWindow = false;
            if (viaWindow || dialogs.isOpen() || this.closed || !box.isConnected) return;
            this.run();
        });
    }

    /** Moves the focus to `next`; when that raised no check (nothing moved), checks here. */
    async moveFocusTo(next) {
        const runs = this.runs;
        next.focus();
        if (this.runs === runs) this.run();
        await this.done;
    }

    run() {
        if (this.running) return this.done;
        ++this.runs;
        if (this.accepts(this.serial.text)) return this.done;
        this.running = true;
        this.done = (async () => {
            await dialogs.showMessage(this.message, this.title);
            // Emptying the serial closes the screen's gates again.
            this.serial.set("");
            this.serial.input.focus();
            this.running = false;
        })();
        return this.done;
    }
}
