// The screens on the page. Form5, Main and Form3 replace one another at the bottom, and a query
// screen shown anew is always fresh; Form4, Form1 and Form2 open over the screen below, keep it
// from input while they are up (on a phone one screen fills the display), and close back to it as
// it was, the focus where it had been.
import * as dialogs from "./dialogs.js";

/**
 * Makes the screens: `clone(name)` puts a fresh view of a screen on the page, `wire[name](view,
 * page)` wires it and returns its handle ({ close() } at most), `page` is what every screen's
 * handlers use, `early` ({ name, view }) a view put there before the screens were loaded, to take
 * as the first one of its name. Returns `show(route)`.
 */
export function Screens({ clone, wire, page, early = null }) {
    let base = null; // { name, view, handle }
    let over = null; // the same, and `opener`: what had the focus below
    // The button last pressed: a tap on a phone does not always give it the focus, yet the focus
    // goes back to it when the screen it opened closes.
    let pressed = null;
    document.addEventListener("click", (event) => (pressed = event.target.closest?.("button") ?? null), true);

    function build(name) {
        const view = early?.name === name ? early.view : clone(name);
        // The address may have moved on before the screens were here.
        if (early && early.view !== view) early.view.remove();
        early = null;
        return { name, view, handle: wire[name](view, page) };
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
            // A box the closed screen asked, as Back can leave it, goes with it.
            dialogs.abandon();
            discard(previous);
        }
        base.view.inert = over !== null;
        if (!over && !base.view.contains(document.activeElement)) firstOf(base.view)?.focus();
    }

    function showOver(name) {
        if (over?.name === name) return;
        const opener = over?.opener ?? (base.view.contains(pressed) ? pressed : document.activeElement);
        if (over) discard(over);
        over = { ...build(name), opener };
        over.view.querySelector("button.close").addEventListener("click", () => page.closeScreen());
        base.view.inert = true;
        over.view.querySelector("button.close").focus();
    }

    function hideOver() {
        if (!over) return;
        const { opener } = over;
        discard(over);
        over = null;
        base.view.inert = false;
        (opener instanceof HTMLElement && base.view.contains(opener) ? opener : firstOf(base.view))?.focus();
    }

    /** Shows `name` over `base`, or `base` alone, keeping whatever of the page it already shows. */
    return function show({ name, base: under }) {
        showBase(under);
        if (name !== under) showOver(name);
        else hideOver();
        document.title = (over ?? base).view.querySelector(".caption").textContent;
    };
}

/** The control a screen gives the focus to when it comes up. */
const firstOf = (view) => view.querySelector("[data-first]");
