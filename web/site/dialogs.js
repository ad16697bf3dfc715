// Every message box and input box of the page goes through here, as on the desktop, so that
// the titles and buttons are the same everywhere. The boxes are modal <dialog> elements: the rest
// of the page is inert while one is up, and each fires its `close` when it goes.

let open = null; // the box that is up, if any
let abandonOpen = null; // closes it without an answer

function byId(id) {
    return /** @type {HTMLElement} */ (document.getElementById(id));
}

// Shows `dialog` modal and resolves with the button that closed it ("ok" or "cancel"), Esc
// counting as `escape`, or with what `until` gives first. The focus goes back where it was, as a
// desktop window gets it back, before the caller goes on, so the caller may move it on.
// `onClose` runs the moment the box closes, however it goes (abandoned too).
function run(dialog, escape, first, until = null, onClose = null) {
    const before = document.activeElement;
    const form = dialog.querySelector("form");
    return new Promise((resolve) => {
        const close = () => {
            dialog.removeEventListener("cancel", onCancel);
            form.removeEventListener("submit", onSubmit);
            dialog.close();
            open = null;
            abandonOpen = null;
            onClose?.();
        };
        const finish = (answer) => {
            close();
            if (before instanceof HTMLElement && before.isConnected && !before.matches(":disabled"))
                before.focus();
            resolve(answer);
        };
        const onCancel = (event) => {
            event.preventDefault();
            finish(escape);
        };
        // A button, or the enter key in the input line (which submits as 确定).
        const onSubmit = (event) => {
            event.preventDefault();
            finish(event.submitter?.value === "cancel" ? "cancel" : "ok");
        };
        dialog.addEventListener("cancel", onCancel);
        form.addEventListener("submit", onSubmit);
        open = dialog;
        abandonOpen = close; // the promise never settles: nothing of the closed screen runs on
        dialog.showModal();
        first.focus();
        until?.then((answer) => open === dialog && finish(answer));
    });
}

/**
 * A modal message box with no icon, its title, its text and 确定 (and 取消 with "okcancel").
 * Esc is the close button: Cancel where there is one, OK where there is only OK.
 * @returns {Promise<"ok" | "cancel">}
 */
export async function showMessage(text, title, buttons = "ok") {
    const dialog = byId("MessageBox");
    byId("MessageBox-title").textContent = title;
    byId("MessageBox-text").textContent = text;
    const cancel = dialog.querySelector("[data-answer=cancel]");
    cancel.hidden = buttons !== "okcancel";
    const answer = await run(dialog, buttons === "okcancel" ? "cancel" : "ok", dialog.querySelector("[data-answer=ok]"));
    return buttons === "okcancel" ? answer : "ok";
}

/**
 * A modal input box with a prompt, a title and a starting text in its line.
 * @returns {Promise<string | null>} the edited line, or null when the user cancels
 */
export async function askText(prompt, title, initial) {
    const dialog = byId("InputBox");
    byId("InputBox-title").textContent = title;
    byId("InputBox-prompt").textContent = prompt;
    const line = /** @type {HTMLInputElement} */ (byId("InputBox-line"));
    line.value = initial;
    const answer = await run(dialog, "cancel", line);
    return answer === "ok" ? line.value : null;
}

/**
 * A box of the caller's own (`dialog`, with a form whose buttons close it as "cancel"), shown modal
 * as the others are, `first` given the focus. `onClose()` runs the moment it closes, however it
 * goes: its `close` event can come much later (a hidden page gets it only once it is shown again).
 * @returns {Promise<any>} what `until` gives, or "cancel" when the user closes it first
 */
export function showBox(dialog, first, until, onClose) {
    return run(dialog, "cancel", first, until, onClose);
}

/** Whether a box is up: the screens ignore focus changes caused by it. */
export function isOpen() {
    return open !== null;
}

/**
 * Closes the box that is up, if any, for a screen that has been closed: it gives no answer,
 * so whatever was waiting for it never goes on.
 */
export function abandon() {
    abandonOpen?.();
}
