importScripts("precache.js");

// The service worker: every file of the release is fetched into one cache at install and served
// from it, so the page opens and queries with no network after one visit. precache.js, imported
// above and written by scripts/web, holds `Release` (a hash of every file of the site) and `Files`
// (each file to cache and its SHA-256); the browser compares it byte for byte on each update check,
// as it does this file, so a changed precache.js is a new release. A new release installs beside
// the old one and takes over only when no page of the old one is open, so a page never mixes old
// scripts with a new core; then the old cache is deleted. A file that is not the one the release
// was built with (a release published while this one was installing) fails the install, and the
// browser tries again on a later visit.
const CacheName = `quenlio-${Release}`;

const hex = (buffer) => Array.from(new Uint8Array(buffer), (byte) => byte.toString(16).padStart(2, "0")).join("");

async function fetchChecked(file, sha256) {
    const response = await fetch(new Request(file, { cache: "reload" }));
    if (!response.ok) throw new Error(`${file}: ${response.status}`);
    const digest = hex(await crypto.subtle.digest("SHA-256", await response.clone().arrayBuffer()));
    if (digest !== sha256) throw new Error(`${file} is not the file of release ${Release}`);
    return response;
}

self.addEventListener("install", (event) => {
    event.waitUntil((async () => {
        // All fetched and checked before any goes into the cache, so a failed install leaves none.
        const responses = await Promise.all(Files.map(([file, sha256]) => fetchChecked(file, sha256)));
        const cache = await caches.open(CacheName);
        await Promise.all(Files.map(([file], i) => cache.put(file, responses[i])));
    })().catch(async (error) => {
        await caches.delete(CacheName);
        throw error;
    }));
});

// The first release a browser installs also takes over the page that registered it, so that
// page's screens opened later draw from the cache with no network. (A later release activates only
// once no page of the old one is open, so it has no page to take over.)
self.addEventListener("activate", (event) => {
    event.waitUntil(
        caches.keys()
            .then((names) => Promise.all(names.filter((name) => name.startsWith("quenlio-") && name !== CacheName).map((name) => caches.delete(name))))
            .then(() => self.clients.claim()),
    );
});

// Only what the release holds is answered from the cache; anything else goes to the network as
// if there were no worker, and nothing is ever added to the cache.
self.addEventListener("fetch", (event) => {
    const request = event.request;
    if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
    event.respondWith(
        caches.open(CacheName).then(async (cache) => (await cache.match(request, { ignoreSearch: true })) ?? fetch(request)),
    );
});
