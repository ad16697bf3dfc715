// Without a service worker, the pictures of the screens not opened yet are fetched once and held,
// so a screen first opened after the network is gone still draws them all. Where there is a
// worker (worker.js), its cache holds them, and it takes this page over as soon as it has them.
const pictures = [];
function holdPictures() {
    for (const template of document.querySelectorAll("template"))
        for (const img of template.content.querySelectorAll("img")) {
            const picture = new Image();
            picture.src = new URL(img.getAttribute("src"), document.baseURI).href;
            pictures.push(picture);
        }
}

// After the page's own load, so it does not compete with the core's fetching.
// (app.js imports this once the start screen is up, before or after the load.)
const start = () => navigator.serviceWorker || holdPictures();
if (document.readyState === "complete") start();
else addEventListener("load", start, { once: true });
