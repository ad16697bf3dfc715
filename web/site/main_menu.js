// The menu: the two query screens, About and the instructions, and the shop.

/** Wires a fresh Main (`view`); `page` holds openScreen and openWebPage. */
export function Main(view, page) {
    const control = (name) => view.querySelector(`[data-control=${name}]`);
    const on = (name, handler) => control(name).addEventListener("click", handler);

    // A query screen opened here replaces the menu and is always a fresh one.
    on("Image2", () => page.openScreen("Form5"));
    on("Image3", () => page.openScreen("Form3"));
    on("Image4", () => page.openWebPage(page.links.ShopPage));
    on("Image5", () => page.openWebPage(page.links.ShopPage));
    on("Image6", () => page.openScreen("Form1"));
    on("Image7", () => page.openScreen("Form2"));

    return {};
}
