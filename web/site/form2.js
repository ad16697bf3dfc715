// The instructions: the notes, and the picture that opens the release thread.

/** Wires a fresh Form2 (`view`). */
export function Form2(view, page) {
    const Image2 = view.querySelector("[data-control=Image2]");
    Image2.addEventListener("click", () => page.openWebPage(page.links.ReleaseThreadPage));
    return {};
}
