// What the bench's pages stand on: a folder served as a host serves it (web/serve.mjs), and
// Debian's chromium headless through puppeteer-core on a profile of its own.
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";

import puppeteer from "puppeteer-core";

import { startServer } from "../serve.mjs";

export const ChromePath = process.env.CHROME_PATH ?? "/usr/bin/chromium";
export const Phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };

/** Serves `folder` on a free port of 127.0.0.1: { url, close() }; close() also drops open connections. */
export async function serve(folder) {
    const { server, url } = await startServer(folder, 0);
    const close = () => new Promise((done) => {
        server.close(done);
        server.closeAllConnections();
    });
    return { url, close };
}

/**
 * Launches chromium on a fresh profile: { browser, close() }; close() also removes the profile.
 * `camera`: a Y4M file its fake camera plays, the page allowed to use it.
 */
export async function launchChromium({ camera = null } = {}) {
    const profile = await mkdtemp(join(tmpdir(), "quenlio-bench-"));
    const browser = await puppeteer.launch({
        executablePath: ChromePath,
        headless: true,
        userDataDir: profile,
        args: [
            "--no-sandbox", "--disable-gpu", "--no-first-run",
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            // Every request stays on this machine by the browser's own flags: intercepting them
            // through DevTools would add a round trip to each request of the timed pages.
            "--host-resolver-rules=MAP * ~NOTFOUND, EXCLUDE 127.0.0.1",
            "--proxy-server=127.0.0.1:9",
            ...(camera ? ["--use-fake-device-for-media-stream", "--use-fake-ui-for-media-stream", `--use-file-for-fake-video-capture=${camera}`] : []),
        ],
    });
    const close = async () => {
        await browser.close();
        await rm(profile, { recursive: true, force: true });
    };
    return { browser, close };
}
