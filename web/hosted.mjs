// The hosted edition: the same page for any static web server, with what a browser needs to
// install it (a manifest and the ladder icon) and to open it offline (a service worker).
//   writeHostedEdition(html, dir) writes dir/index.html, manifest.webmanifest, sw.js, icons/.

import { createHash } from "node:crypto";
import { copyFileSync, mkdirSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const here = dirname(fileURLToPath(import.meta.url));
const ICON_SIZES = [180, 192, 512];

/** The manifest: a Japanese name, the icon at the sizes home screens and shelves ask for. */
function manifest() {
    return {
        name: "たなばしご",
        short_name: "たなばしご",
        description: "あみだくじ（たなばしご）はどこをひいても平等か、実験で確かめる授業用のプログラム",
        lang: "ja",
        dir: "ltr",
        id: "./",
        start_url: "./",
        scope: "./",
        display: "standalone",
        background_color: "#d8d8d8",
        theme_color: "#c8c8c8",
        icons: ICON_SIZES.filter((size) => size !== 180).map((size) => ({
            src: `icons/tanabashigo-${size}.png`,
            sizes: `${size}x${size}`,
            type: "image/png",
            purpose: "any",
        })),
    };
}

/** The service worker: keeps every file of the edition, answers from them before the network. */
function serviceWorker(files, version) {
    return `// Keeps the hosted edition for use without the network.
const CACHE = "tanabashigo-${version}";
const FILES = ${JSON.stringify(files)};
self.addEventListener("install", (event) => {
    event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});
self.addEventListener("activate", (event) => {
    event.waitUntil(caches.keys()
        .then((names) => Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name))))
        .then(() => self.clients.claim()));
});
self.addEventListener("fetch", (event) => {
    const request = event.request;
    if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) {
        return;
    }
    const key = request.mode === "navigate" ? "./" : request;
    event.respondWith(caches.open(CACHE).then((cache) => cache.match(key, { ignoreSearch: true })
        .then((kept) => kept || fetch(request))));
});
`;
}

/** What the hosted page adds to the file: its manifest, icons, worker and a stricter policy. */
function hostedPage(html) {
    const hashes = [...html.matchAll(/<script(?: [^>]*)?>([\s\S]*?)<\/script>/g)];
    const register = `if ("serviceWorker" in navigator) { navigator.serviceWorker.register("sw.js"); }
if (navigator.storage && navigator.storage.persist) { navigator.storage.persist().catch(() => undefined); }`;
    const scripts = [...hashes.map((match) => match[1]), register]
        .map((text) => `'sha256-${createHash("sha256").update(text).digest("base64")}'`);
    const policy = [
        "default-src 'none'",
        `script-src ${scripts.join(" ")} 'unsafe-eval' 'wasm-unsafe-eval'`,
        "style-src 'unsafe-inline'",
        "img-src 'self' data: blob:",
        "media-src data: blob:",
        "worker-src 'self' blob:",
        "connect-src 'self' data: blob:",
        "manifest-src 'self'",
        "base-uri 'none'",
        "form-action 'none'",
    ].join("; ");
    const head = [
        '<link rel="manifest" href="manifest.webmanifest">',
        '<link rel="icon" type="image/png" sizes="192x192" href="icons/tanabashigo-192.png">',
        '<link rel="apple-touch-icon" href="icons/tanabashigo-180.png">',
        '<meta name="theme-color" content="#c8c8c8">',
        '<meta name="apple-mobile-web-app-capable" content="yes">',
        '<meta name="apple-mobile-web-app-title" content="たなばしご">',
    ].join("\n");
    const withPolicy = html.replace(/(<meta http-equiv="Content-Security-Policy" content=")[^"]*(">)/, (_, open, close) => `${open}${policy}${close}`);
    if (withPolicy === html) {
        throw new Error("the page has no Content-Security-Policy to replace");
    }
    return withPolicy
        .replace("</head>", () => `${head}\n</head>`)
        .replace("</body>", () => `<script>${register}</script>\n</body>`);
}

/** Writes the hosted edition of the built page `html` into `dir`. */
export function writeHostedEdition(html, dir) {
    mkdirSync(join(dir, "icons"), { recursive: true });
    const page = hostedPage(html);
    writeFileSync(join(dir, "index.html"), page);
    writeFileSync(join(dir, "manifest.webmanifest"), `${JSON.stringify(manifest(), null, 2)}\n`);
    const icons = ICON_SIZES.map((size) => `icons/tanabashigo-${size}.png`);
    for (const icon of icons) {
        copyFileSync(join(here, "..", "icons", icon.slice("icons/".length)), join(dir, icon));
    }
    const version = createHash("sha256").update(page).digest("hex").slice(0, 12);
    writeFileSync(join(dir, "sw.js"), serviceWorker(["./", "index.html", "manifest.webmanifest", ...icons], version));
}
