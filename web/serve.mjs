// A small static server for the built site: only files under its folder, each with its type
// (application/wasm for the core), gzip where the browser takes it. No dependencies.
//   node web/serve.mjs [FOLDER] [PORT]      (defaults: build-web/site, 8080; port 0 picks a free one)
import { createServer } from "node:http";
import { readFile, realpath, stat } from "node:fs/promises";
import { extname, join, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";
import { gzipSync } from "node:zlib";

export const ContentTypes = {
    ".html": "text/html; charset=utf-8",
    ".js": "text/javascript; charset=utf-8",
    ".mjs": "text/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
    ".json": "application/json; charset=utf-8",
    ".webmanifest": "application/manifest+json; charset=utf-8",
    ".wasm": "application/wasm",
    ".svg": "image/svg+xml",
    ".png": "image/png",
    ".ico": "image/x-icon",
    ".txt": "text/plain; charset=utf-8",
};
// The page's own policy, as its <meta> holds it (a test keeps the two equal): only its own scripts,
// styles, pictures and core, nothing from another origin. As a header it also keeps the page out
// of other sites' frames, which a <meta> cannot.
export const ContentSecurityPolicy = "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; connect-src 'self'; manifest-src 'self'; worker-src 'self'; base-uri 'none'; form-action 'none'";
const Compressible = new Set([".html", ".js", ".mjs", ".css", ".json", ".webmanifest", ".wasm", ".svg", ".txt"]);

// The file a request path names under `root`, or null: a path that leaves the folder (by "..",
// an encoded separator or a link), names a hidden file, or holds a NUL names nothing.
async function fileFor(root, urlPath) {
    let path;
    try {
        path = decodeURIComponent(urlPath);
    } catch {
        return null;
    }
    if (path.includes("\0") || path.includes("\\") || !path.startsWith("/")) return null;
    if (path.split("/").some((part) => part.startsWith("."))) return null;
    if (path.endsWith("/")) path += "index.html";
    const candidate = resolve(root, "." + path);
    if (!candidate.startsWith(root + sep)) return null;
    try {
        const real = await realpath(candidate);
        if (!real.startsWith(root + sep)) return null;
        return (await stat(real)).isFile() ? real : null;
    } catch {
        return null;
    }
}

/** Serves `folder` on 127.0.0.1:`port`; resolves to { server, url } once it listens. */
export async function startServer(folder, port = 0) {
    const root = await realpath(resolve(folder));
    const server = createServer(async (request, response) => {
        const send = (status, headers, body) => {
            response.writeHead(status, { "X-Content-Type-Options": "nosniff", ...headers });
            response.end(request.method === "HEAD" ? undefined : body);
        };
        if (request.method !== "GET" && request.method !== "HEAD") {
            send(405, { Allow: "GET, HEAD", "Content-Type": ContentTypes[".txt"] }, "method not allowed\n");
            return;
        }
        const file = await fileFor(root, new URL(request.url, "http://localhost").pathname);
        if (file === null) {
            send(404, { "Content-Type": ContentTypes[".txt"] }, "not found\n");
            return;
        }
        const type = extname(file).toLowerCase();
        let body = await readFile(file);
        const headers = {
            "Content-Type": ContentTypes[type] ?? "application/octet-stream",
            "Cache-Control": "no-cache",
        };
        if (type === ".html")
            headers["Content-Security-Policy"] = `${ContentSecurityPolicy}; frame-ancestors 'none'`;
        if (Compressible.has(type)) {
            headers.Vary = "Accept-Encoding";
            if (/\bgzip\b/.test(request.headers["accept-encoding"] ?? "")) {
                body = gzipSync(body);
                headers["Content-Encoding"] = "gzip";
            }
        }
        headers["Content-Length"] = body.length;
        send(200, headers, body);
    });
    await new Promise((done, fail) => {
        server.once("error", fail);
        server.listen(port, "127.0.0.1", done);
    });
    return { server, url: `http://127.0.0.1:${server.address().port}/` };
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
    const folder = process.argv[2] ?? join(fileURLToPath(new URL("..", import.meta.url)), "build-web", "site");
    const { url } = await startServer(folder, Number(process.argv[3] ?? 8080));
    console.log(`Quenlio: ${url} (Ctrl+C ends)`);
}
