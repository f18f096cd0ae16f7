// Builds the one self-contained page: the engine's WebAssembly, the page's script, its styles
// and both chimes inlined into build-web/tanabashigo.html; beside it, hosted/ holds the same
// page for a web server, installable and kept for offline use.
//   node build.mjs ENGINE_JS OUTPUT_HTML [SIMULATION_JS]
// SIMULATION_JS, the simulation alone built with WebAssembly SIMD, is kept as text for the
// workers of browsers that have SIMD; the others run the engine's own.

import { build } from "esbuild";
import { readFileSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { writeHostedEdition } from "./hosted.mjs";

const here = dirname(fileURLToPath(import.meta.url));
const [engineJs, output, simulationJs] = process.argv.slice(2);
if (!engineJs || !output) {
    console.error("usage: node build.mjs ENGINE_JS OUTPUT_HTML [SIMULATION_JS]");
    process.exit(2);
}

/** Text that can stand inside a <script> element. */
const scriptSafe = (text) => text.replaceAll("</script", "<\\/script").replaceAll("<!--", "<\\!--");

const bundle = await build({
    entryPoints: [join(here, "src", "main.ts")],
    bundle: true,
    format: "iife",
    target: ["chrome90", "safari15"],
    minify: true,
    write: false,
    legalComments: "none",
});
const chimes = Object.fromEntries(
    ["pinpon.wav", "endpinpon.wav"].map((name) => [
        name,
        readFileSync(join(here, "..", "sounds", name)).toString("base64"),
    ]),
);
const pieces = {
    "/*STYLE*/": readFileSync(join(here, "style.css"), "utf8"),
    "/*CHIMES*/": `var TANABASHIGO_CHIMES=${JSON.stringify(chimes)};`,
    "/*ENGINE*/": scriptSafe(readFileSync(engineJs, "utf8")),
    "/*SIMULATION*/": simulationJs ? scriptSafe(readFileSync(simulationJs, "utf8")) : "",
    "/*PAGE*/": scriptSafe(bundle.outputFiles[0].text),
};
let html = readFileSync(join(here, "page.html"), "utf8");
for (const [mark, text] of Object.entries(pieces)) {
    html = html.replace(mark, () => text);
}
writeFileSync(output, html);
writeHostedEdition(html, join(dirname(output), "hosted"));
console.log(`${output} (${(Buffer.byteLength(html) / 1024).toFixed(0)} KiB)`);
