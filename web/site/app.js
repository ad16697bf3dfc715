// Start-up. The screen the address names is on the page, its first box focused, as soon as this
// file has run; the screens' code and the core come after it. Until they are here, what is typed is
// held, unseen, and handed to the screen's own handlers once the screen is wired: nothing typed is
// lost, and no rule runs anywhere but in core.
import { route } from "./router.js";

const root = /** @type {HTMLElement} */ (document.getElementById("screens"));

function clone(name) {
    const template = /** @type {HTMLTemplateElement} */ (document.getElementById(`screen-${name}`));
    const view = /** @type {HTMLElement} */ (template.content.firstElementChild.cloneNode(true));
    root.append(view);
    return view;
}

// Each text change the browser would make, as it asked: { inputType, data }.
const held = [];
function hold(event) {
    if (!event.isTrusted) return; // one of those being replayed
    event.preventDefault();
    held.push({ inputType: event.inputType, data: event.data ?? event.dataTransfer?.getData("text/plain") ?? null });
}

// Replays the held changes one by one into whatever box has the focus by then, as the browser
// would have made them, each followed by its input event, and lets the handlers run in between;
// a change with no box to go to (the focus in a message box) goes nowhere, as a key would.
async function replay() {
    // Keys typed meanwhile are held too, and taken in turn.
    for (let i = 0; i < held.length; i++) {
        const { inputType, data } = held[i];
        const box = document.activeElement;
        if (!(box instanceof HTMLInputElement) || box.disabled || box.readOnly) continue;
        box.dispatchEvent(new InputEvent("beforeinput", { inputType, data, bubbles: true, cancelable: true }));
        let start = box.selectionStart ?? box.value.length;
        let end = box.selectionEnd ?? start;
        if (start === end && data === null) {
            // A deletion of one character before or after the caret, a whole one.
            const forward = inputType === "deleteContentForward";
            const near = forward ? Array.from(box.value.slice(end))[0] : Array.from(box.value.slice(0, start)).at(-1);
            if (forward) end += near?.length ?? 0;
            else start -= near?.length ?? 0;
        }
        box.setRangeText(data ?? "", start, end, "end");
        box.dispatchEvent(new InputEvent("input", { inputType, data, bubbles: true }));
        await new Promise((done) => setTimeout(done, 0));
    }
}

// A poor network can fail a fetch of the start: each module and the core is tried again a few
// times, a module under another address, as a browser may keep a failed import's answer for its own.
const Tries = 3;
async function again(load) {
    for (let attempt = 0; ; attempt++) {
        try {
            return await load(attempt);
        } catch (error) {
            if (attempt + 1 === Tries) throw error;
            await new Promise((done) => setTimeout(done, 1000));
        }
    }
}
const fetchModule = (path) => again((attempt) => import(attempt ? `${path}?retry=${attempt}` : path));

// The rest of the page: the core, then the other modules in the order start() takes them.
async function loadRest() {
    const [{ loadCore }, ...modules] = await Promise.all(["./core.js", "./links.js", "./screens.js", "./router.js", "./presses.js",
        "./form5.js", "./main_menu.js", "./form3.js", "./form1.js", "./form2.js", "./form4.js"].map(fetchModule));
    return [await again(() => loadCore()), ...modules];
}

// Nothing more will come: what was held goes into the box, which takes keys as a plain one from
// now on, and the page says so, with a button that loads it again.
async function failed() {
    await replay();
    document.removeEventListener("beforeinput", hold, true);
    const line = /** @type {HTMLElement} */ (document.getElementById("failed"));
    line.querySelector("button").addEventListener("click", () => location.reload());
    line.hidden = false;
}

async function start() {
    // Before the core, the screen under the one named (an over screen opens once there is a page).
    const { name, base } = route();
    const early = { name: base, view: clone(base) };
    document.addEventListener("beforeinput", hold, true);
    if (name === base) early.view.querySelector("[data-first]")?.focus();

    const [core, links, { Screens }, { follow }, , ...screens] = await loadRest().catch(async (error) => {
        await failed();
        throw error;
    });
    // The offline parts, which wait for the page's load, fetched after everything the screen needs.
    fetchModule("./worker.js");
    fetchModule("./pictures.js");
    const wire = Object.assign({}, ...screens);
    const page = {
        core,
        links,
        openScreen: (name) => router.open(name),
        closeScreen: () => router.close(),
        // The one place the page opens an outside address: a new tab that cannot reach back.
        openWebPage: (address) => window.open(address, "_blank", "noopener"),
    };
    const router = follow(Screens({ clone, wire, page, early }));
    await replay();
    document.removeEventListener("beforeinput", hold, true);
    document.documentElement.dataset.ready = "";
}

start();
