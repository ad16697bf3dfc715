// Registers the service worker where the browser has one (many in-app browsers have none: the
// page then works online as before), and says in one line when a newer release is waiting;
// and keeps the page's pictures for the network's going away.
const UpdateReady = "新版本已就绪，下次打开时生效";

function tellWaiting() {
    const line = document.getElementById("update");
    line.textContent = UpdateReady;
    line.hidden = false;
}

async function register() {
    const registration = await navigator.serviceWorker.register("sw.js");
    // A worker waiting while this page is controlled is a newer release than the one shown.
    if (registration.waiting && navigator.serviceWorker.controller) tellWaiting();
    registration.addEventListener("updatefound", () => {
        const worker = registration.installing;
        worker?.addEventListener("statechange", () => {
            if (worker.state === "installed" && navigator.serviceWorker.controller) tellWaiting();
        });
    });
}

// Without a worker, the pictures of the screens not opened yet are fetched once and held, so a
// screen first opened after the network is gone still draws them all. Where there is a worker,
// its cache holds them, and it takes this page over as soon as it has them.
const pictures = [];
function holdPictures() {
    for (const template of document.querySelectorAll("template"))
        for (const img of template.content.querySelectorAll("img")) {
            const picture = new Image();
            picture.src = new URL(img.getAttribute("src"), document.baseURI).href;
            pictures.push(picture);
        }
}

// After the page's own load, so neither competes with the core's fetching.
window.addEventListener("load", () => {
    if (!navigator.serviceWorker) holdPictures();
    // A failed registration leaves the page as it is without a worker: online, and quiet.
    else register().catch(() => {});
}, { once: true });
