// How a tap, a click or a key reaches the page's controls, as on the desktop:
// - a press on what takes no focus there (a caption, a label, a frame, a picture, a link label,
//   blank space, a disabled control, the text of a box) leaves the focus where it is, so it never
//   runs a box's focus-lost check, and Enter still answers a box whose text was tapped;
// - a double tap or double click on a picture, a link label or a close button is one press: its
//   second click would open a second page or go back twice;
// - a held key presses once: its auto-repeat presses no button, picture or link, and answers no box.

// Controls that take the focus when pressed. Pictures and link labels do not, as on the desktop.
const TakesFocus = "input:enabled, textarea:enabled, button:enabled:not(.picture, .link)";
const OnePress = "button.picture, button.link, button.close";

document.addEventListener("mousedown", (event) => {
    if (!event.target.closest?.(TakesFocus)) event.preventDefault();
}, true);

document.addEventListener("click", (event) => {
    const target = event.target;
    // A caption's click would move the focus into its box.
    if (target.closest?.("label") && !target.closest("input, textarea, button")) event.preventDefault();
    if (event.detail > 1 && target.closest?.(OnePress)) event.stopPropagation();
}, true);

document.addEventListener("keydown", (event) => {
    // Space keeps repeating in a text box, where it types.
    const typing = event.key === " " && event.target.matches?.("input, textarea");
    if (event.repeat && (event.key === "Enter" || event.key === " ") && !typing) {
        event.preventDefault();
        event.stopPropagation();
    }
}, true);

/** The Enter key in `input` presses `button`, once it can be pressed. */
export function pressOnEnter(input, button) {
    input.addEventListener("keydown", (event) => {
        if (event.key === "Enter" && !event.isComposing && !button.disabled) {
            event.preventDefault();
            button.click();
        }
    });
}
