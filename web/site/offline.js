// Registers the service worker where the browser has one (many in-app browsers have none: the
// page then works online as before), and says in one line when a newer release is waiting.
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

// After the page's own load, so the worker's fetching never competes with the core's.
if (navigator.serviceWorker)
    // A failed registration leaves the page as it is without a worker: online, and quiet.
    window.addEventListener("load", () => register().catch(() => {}), { once: true });
