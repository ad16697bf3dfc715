// The static server of scripts/web serve and the tests: types, compression, and nothing outside
// its folder.
import assert from "node:assert/strict";
import { mkdir, mkdtemp, rm, symlink, writeFile } from "node:fs/promises";
import { request } from "node:http";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { gunzipSync } from "node:zlib";

import { startServer } from "../../web/serve.mjs";

let folder, server, port;

before(async () => {
    folder = await mkdtemp(join(tmpdir(), "quenlio-serve-"));
    const site = join(folder, "site");
    await mkdir(join(site, "images"), { recursive: true });
    await writeFile(join(site, "index.html"), "<!doctype html><title>页</title>");
    await writeFile(join(site, "core.js"), "export {};");
    await writeFile(join(site, "style.css"), "body{}");
    await writeFile(join(site, "quenlio_core.wasm"), Buffer.from([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]));
    await writeFile(join(site, "images", "banner.svg"), "<svg xmlns='http://www.w3.org/2000/svg'/>");
    await writeFile(join(site, ".hidden"), "no");
    await writeFile(join(folder, "secret.txt"), "outside");
    await symlink(join(folder, "secret.txt"), join(site, "link.txt"));
    ({ server } = await startServer(site, 0));
    port = server.address().port;
});

after(async () => {
    await new Promise((done) => server.close(done));
    await rm(folder, { recursive: true, force: true });
});

// A raw request, so that paths reach the server exactly as written.
function get(path, { method = "GET", headers = {} } = {}) {
    return new Promise((done, fail) => {
        const req = request({ host: "127.0.0.1", port, path, method, headers }, (res) => {
            const chunks = [];
            res.on("data", (c) => chunks.push(c));
            res.on("end", () => done({ status: res.statusCode, headers: res.headers, body: Buffer.concat(chunks) }));
        });
        req.on("error", fail);
        req.end();
    });
}

test("each file goes out with its type, the folder's index for /", async () => {
    for (const [path, type] of [
        ["/", "text/html; charset=utf-8"],
        ["/index.html", "text/html; charset=utf-8"],
        ["/core.js", "text/javascript; charset=utf-8"],
        ["/style.css", "text/css; charset=utf-8"],
        ["/quenlio_core.wasm", "application/wasm"],
        ["/images/banner.svg", "image/svg+xml"],
        ["/core.js?v=1#x", "text/javascript; charset=utf-8"],
    ]) {
        const res = await get(path);
        assert.equal(res.status, 200, path);
        assert.equal(res.headers["content-type"], type, path);
        assert.equal(res.headers["x-content-type-options"], "nosniff", path);
        assert.equal(Number(res.headers["content-length"]), res.body.length, path);
    }
    const head = await get("/core.js", { method: "HEAD" });
    assert.equal(head.status, 200);
    assert.equal(head.body.length, 0);
    assert.equal((await get("/core.js", { method: "POST" })).status, 405);
});

test("gzip only for a browser that asks for it, with the same bytes inside", async () => {
    const plain = await get("/quenlio_core.wasm");
    const packed = await get("/quenlio_core.wasm", { headers: { "Accept-Encoding": "gzip, deflate, br" } });
    assert.equal(plain.headers["content-encoding"], undefined);
    assert.equal(packed.headers["content-encoding"], "gzip");
    assert.equal(packed.headers.vary, "Accept-Encoding");
    assert.deepEqual(gunzipSync(packed.body), plain.body);
});

test("nothing outside the folder, hidden or missing is served", async () => {
    for (const path of [
        "/../secret.txt",
        "/images/../../secret.txt",
        "/%2e%2e/secret.txt",
        "/images%2f..%2f..%2fsecret.txt",
        "/..%5csecret.txt",
        "/link.txt",
        "/.hidden",
        "/core.js%00.html",
        "/%E0%A4%A",
        "/images",
        "/missing.js",
    ]) {
        const res = await get(path);
        assert.equal(res.status, 404, path);
        assert.ok(!res.body.toString().includes("outside"), path);
    }
});
