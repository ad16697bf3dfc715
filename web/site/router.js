// The address names the screen on top, as #/Form5, and the history holds the way the user came,
// so the browser's Back closes a screen opened over another or goes from a query screen to the
// menu, and a reload shows the named screen fresh. (A plain #Form5 would name the screen's
// element, and a browser scrolls to that and drops the focus.)
export const ScreenNames = ["Form5", "Main", "Form3", "Form1", "Form2", "Form4"];
// The screens that open over another, and the one each opens over.
export const Over = { Form4: "Form5", Form1: "Main", Form2: "Main" };
const StartScreen = "Form5";

const address = (name) => `#/${name}`;
// `below`: the entry under this one is the screen the user came from, so Back goes there.
const entry = (below) => ({ quenlio: true, below });

/** The screen the address names (an address of the earlier #Form5 form too) and the one under it. */
export function route() {
    const name = /^#\/?(\w+)$/.exec(location.hash)?.[1];
    const top = ScreenNames.includes(name) ? name : StartScreen;
    return { name: top, base: Over[top] ?? top };
}

/**
 * Starts following the address: `show(route)` runs now and on every move through the history.
 * A first visit (or a typed address) gets the entries the user could have come through, so
 * Back works from the start: the menu under a query screen, a screen under the one it opens over.
 */
export function follow(show) {
    if (!history.state?.quenlio) {
        const { name, base } = route();
        history.replaceState(entry(false), "", address("Main"));
        if (base !== "Main") history.pushState(entry(true), "", address(base));
        if (name !== base) history.pushState(entry(true), "", address(name));
    }
    addEventListener("popstate", () => show(route()));
    // A typed address; the page shows what it already shows again without a change.
    addEventListener("hashchange", () => show(route()));
    show(route());
    return {
        /** Opens `name` from the screen on top: over it, in place of the menu, or back to the menu. */
        open(name) {
            if (name === "Main") back("Main");
            else if (route().name !== name) forward(name);
        },
        /** Closes the screen on top, back to the one under it. */
        close: () => back(route().base),
    };

    function forward(name) {
        history.pushState(entry(true), "", address(name));
        show(route());
    }

    // Back to the entry below; without one (the address was typed), the entry is replaced.
    function back(name) {
        if (history.state?.below) {
            history.back();
            return;
        }
        history.replaceState(entry(false), "", address(name));
        show(route());
    }
}
