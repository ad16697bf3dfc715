// The service worker: every file of the release is fetched into one cache at install and served
// from it, so the page opens and queries with no network after one visit. scripts/web writes
// `Release` (a hash of the files) and `Files` above this text. A new release installs beside the
// old one and takes over only when no page of the old one is open, so a page never mixes old
// scripts with a new core; then the old cache is deleted.
const CacheName = `quenlio-${Release}`;

self.addEventListener("install", (event) => {
    event.waitUntil(
        caches.open(CacheName).then((cache) => cache.addAll(Files.map((file) => new Request(file, { cache: "reload" })))),
    );
});

self.addEventListener("activate", (event) => {
    event.waitUntil(
        caches.keys().then((names) =>
            Promise.all(names.filter((name) => name.startsWith("quenlio-") && name !== CacheName).map((name) => caches.delete(name))),
        ),
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
