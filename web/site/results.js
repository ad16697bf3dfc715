// The read-only result boxes are text areas of one line that grow with their text, so that a long
// model name wraps on a narrow phone or with large text instead of being cut off.
const fit = (box) => {
    box.style.height = "auto";
    box.style.height = `${box.scrollHeight + box.offsetHeight - box.clientHeight}px`;
};
// A turned phone or a resized window wraps them anew.
addEventListener("resize", () => document.querySelectorAll("textarea").forEach(fit));

/** Writes `text` into the result box `box`, as tall as its text needs. */
export function showResult(box, text) {
    box.value = text;
    fit(box);
}
