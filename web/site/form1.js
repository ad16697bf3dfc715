// About: one picture, which opens the shop over HTTPS.

/** Wires a fresh Form1 (`view`). */
export function Form1(view, page) {
    const Image1 = view.querySelector("[data-control=Image1]");
    Image1.addEventListener("click", () => page.openWebPage(page.links.SecureShopPage));
    return {};
}
