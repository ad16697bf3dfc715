// Registers the service worker where the browser has one (many in-app browsers have none: the
// page then works online as before, and pictures.js holds its pictures), and says in one line
// when a newer release is waiting.
const UpdateReady = "新版本已就绪，下次打开时生效";

function tellWaiting() {
    const line = document.getElementById("update");
    line.textContent = UpdateReady;
    line.hidden = false;
}

async function register() {
    // A new release is a new precache.js, which the worker imports: the browser looks for it on
    // the network, never in its own HTTP cache, so a long-cached copy cannot hide a release.
    const registration = await navigator.serviceWorker.register("sw.js", { updateViaCache: "none" });
    // A worker waiting while this page is controlled is a newer release than the one shown.
    if (registration.waiting && navigator.serviceWorker.controller) tellWaiting();
    registration.addEventListener("updatefound", () => {
        const worker = registration.installing;
        worker?.addEventListener("statechange", () => {
            if (worker.state === "installed" && navigator.serviceWorker.controller) tellWaiting();
        });
    });
}

// After the page's own load, so it does not compete with the core's fetching. A failed
// registration leaves the page as it is without a worker: online, and quiet.
// (app.js imports this once the start screen is up, before or after the load.)
const start = () => navigator.serviceWorker && register().catch(() => {});
if (document.readyState === "complete") start();
else addEventListener("load", start, { once: true });
