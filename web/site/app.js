// The page's screens and how the user moves between them. Form5, Main and Form3 replace one
// another, and a query screen reached from the menu is always fresh; Form4, Form1 and Form2
// open over the current screen and close back to it, leaving it as it was. The address names
// the screen on top (#Form5 ...), so the browser's Back closes an open screen or goes from a
// query screen to the menu, and a reload shows the named screen fresh.
// The screen is on the page, its first box focused and taking keys, before the core has
// arrived; it is wired to the core when it has, and what was typed meanwhile is taken then.
// The screens' code and the core are imported once the start screen is up, so that showing it
// waits for this file alone.
let Screens = null; // name: the function that wires a fresh screen of that name
let dialogs = null; // the message and input boxes
const ScreenNames = ["Form5", "Main", "Form3", "Form1", "Form2", "Form4"];
// The screens that open over another, and the one each opens over after a reload.
const Over = { Form4: "Form5", Form1: "Main", Form2: "Main" };
const StartScreen = "Form5";

/** The one place the page opens an outside address: a new tab that cannot reach back. */
export function OpenWebPage(address) {
    window.open(address, "_blank", "noopener");
}

const root = /** @type {HTMLElement} */ (document.getElementById("screens"));
let page; // what every screen's handlers use
let early = null; // { name, view }: the screen shown before the core arrived, not yet wired
let base = null; // { name, view, handle }: Form5, Main or Form3
let over = null; // { name, view, handle, opener }: Form4, Form1 or Form2, or null
// The button last pressed: a tap on a phone does not always give it the focus, yet the
// focus goes back to it when the screen it opened closes.
let pressed = null;
document.addEventListener("click", (event) => (pressed = event.target.closest?.("button") ?? null), true);

function clone(name) {
    const template = /** @type {HTMLTemplateElement} */ (document.getElementById(`screen-${name}`));
    const view = /** @type {HTMLElement} */ (template.content.firstElementChild.cloneNode(true));
    root.append(view);
    return view;
}

// The control a screen gives the focus to when it comes up.
const firstOf = (view) => view.querySelector("[data-first]");

function build(name) {
    let view;
    if (early?.name === name) {
        view = early.view;
        early = null;
    } else {
        view = clone(name);
    }
    // Clicking a picture or a link label leaves the focus where it was, as on the desktop,
    // so it never runs a box's focus-lost check.
    for (const clickable of view.querySelectorAll("button.picture, button.link"))
        clickable.addEventListener("mousedown", (event) => event.preventDefault());
    // A double tap or double click on a picture, a link label or a close button is one press,
    // as a desktop control takes it: its second click would open a second page or go back twice.
    view.addEventListener("click", (event) => {
        if (event.detail > 1 && event.target.closest?.("button.picture, button.link, button.close")) event.stopPropagation();
    }, true);
    const screen = { name, view, handle: Screens[name](view, page) };
    // Text typed before the screen was wired is taken as if it had just been typed.
    for (const box of view.querySelectorAll("input"))
        if (box.value !== box.defaultValue) box.dispatchEvent(new Event("input"));
    return screen;
}

// The address names a screen by its id, so loading the page or moving through the history
// scrolls to it and, as browsers do for a fragment that cannot take the focus, drops the focus
// afterwards (after the next layout, or once the page has loaded). Until the user taps or
// presses a key, the control the page gave the focus to gets it back.
let held = null;
const letGo = () => (held = null);
document.addEventListener("pointerdown", letGo, true);
document.addEventListener("keydown", letGo, true);
document.addEventListener("focusout", (event) => {
    const element = held;
    if (event.target !== element || event.relatedTarget !== null) return;
    setTimeout(() => {
        if (held === element && element.isConnected && document.activeElement === document.body) element.focus();
    }, 0);
}, true);

function focusOn(element) {
    if (!element) return;
    held = element;
    element.focus();
}

function discard(screen) {
    screen.handle.close?.();
    screen.view.remove();
}

function showBase(name) {
    if (base?.name === name) return;
    const previous = base;
    base = build(name);
    if (previous) {
        // A box the closed screen asked, as Back or a history move can leave it, goes with it.
        dialogs.abandon();
        discard(previous);
    }
    base.view.inert = over !== null;
    if (!over && !base.view.contains(document.activeElement)) focusOn(firstOf(base.view));
}

function showOver(name) {
    if (over?.name === name) return;
    const opener = over?.opener ?? (base.view.contains(pressed) ? pressed : document.activeElement);
    if (over) discard(over);
    over = { ...build(name), opener };
    over.view.querySelector("button.close").addEventListener("click", closeOver);
    base.view.inert = true;
    focusOn(over.view.querySelector("button.close"));
}

function hideOver() {
    if (!over) return;
    const { opener } = over;
    discard(over);
    over = null;
    base.view.inert = false;
    focusOn(opener instanceof HTMLElement && base.view.contains(opener) ? opener : firstOf(base.view));
}

// Shows what the history entry names, keeping whatever of the page it already shows.
function render() {
    const name = screenFromAddress();
    const state = history.state ?? {};
    if (name in Over) {
        showBase(state.base ?? Over[name]);
        showOver(name);
    } else {
        hideOver();
        showBase(name);
    }
    document.title = (over ?? base).view.querySelector(".caption").textContent;
}

function screenFromAddress() {
    const name = decodeURIComponent(location.hash.slice(1));
    return ScreenNames.includes(name) ? name : StartScreen;
}

const entry = (name, baseName, below) => ({ quenlio: true, base: baseName, below });

function push(name, baseName) {
    history.pushState(entry(name, baseName, true), "", `#${name}`);
    render();
}

// Back to the entry below, which is the menu for a query screen and the screen below for
// one opened over another; without one (the address was typed), the entry is replaced.
function back(name, baseName) {
    if (history.state?.below) {
        history.back();
        return;
    }
    history.replaceState(entry(name, baseName, false), "", `#${name}`);
    render();
}

function openScreen(name) {
    if (name in Over) {
        if (over?.name !== name) push(name, base.name);
    } else if (name === "Main") {
        back("Main", "Main");
    } else {
        push(name, name);
    }
}

function closeOver() {
    back(base.name, base.name);
}

// A first visit (or a typed address) gets the entries the user could have come through, so
// Back works from the start: the menu under a query screen, a screen under one opened over it.
function startHistory() {
    const name = screenFromAddress();
    if (history.state?.quenlio) return;
    const baseName = name in Over ? Over[name] : name;
    history.replaceState(entry("Main", "Main", false), "", "#Main");
    if (baseName !== "Main") history.pushState(entry(baseName, baseName, true), "", `#${baseName}`);
    if (name !== baseName) history.pushState(entry(name, baseName, true), "", `#${name}`);
}

function pressOnEnter(input, button) {
    input.addEventListener("keydown", (event) => {
        if (event.key === "Enter" && !event.isComposing && !button.disabled) {
            event.preventDefault();
            button.click();
        }
    });
}

// Until the core is there, the screen the address names (or the one under it) is shown as
// its markup stands: nothing on it reacts, and its first box takes keys.
function showEarly() {
    const name = screenFromAddress();
    const baseName = name in Over ? Over[name] : name;
    early = { name: baseName, view: clone(baseName) };
    if (!(name in Over)) focusOn(firstOf(early.view));
}

async function start() {
    showEarly();
    let Form5, Main, Form3, Form1, Form2, Form4, loadCore, links;
    [{ loadCore }, links, dialogs, { Form5 }, { Main }, { Form3 }, { Form1 }, { Form2 }, { Form4 }] = await Promise.all([
        import("./core.js"), import("./links.js"), import("./dialogs.js"), import("./form5.js"), import("./main_menu.js"),
        import("./form3.js"), import("./form1.js"), import("./form2.js"), import("./form4.js"),
    ]);
    Screens = { Form5, Main, Form3, Form1, Form2, Form4 };
    const core = await loadCore();
    page = { core, links, openScreen, openWebPage: OpenWebPage, pressOnEnter };
    startHistory();
    addEventListener("popstate", render);
    addEventListener("hashchange", render);
    render();
    document.documentElement.dataset.ready = "";
}

start();
