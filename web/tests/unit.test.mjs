// The page's own logic under Node: the address's options and the local time of record lines.

import assert from "node:assert/strict";
import { test } from "node:test";
import { build } from "esbuild";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const src = join(dirname(fileURLToPath(import.meta.url)), "..", "src");
const bundle = await build({
    stdin: {
        contents: 'export { localIsoTime } from "./record_store"; export * from "./url_options";',
        resolveDir: src,
        loader: "ts",
    },
    bundle: true,
    format: "esm",
    write: false,
});
const { localIsoTime, readAddress } = await import(
    `data:text/javascript,${encodeURIComponent(bundle.outputFiles[0].text)}`
);

test("the address is read as the command line is: one schema, ranges from the engine's constants", () => {
    // Limits unlike the real ones, so that every range is seen to come from them.
    const limits = { lineCount: 6, rungSlots: 40, largestSeed: 1000 };
    const plain = { seed: null, lesson: false, theory: false, rungs: null, start: null };
    const cases = [
        ["", {}],
        ["?seed=007", { seed: 7 }],
        ["?seed=1000", { seed: 1000 }],
        ["?seed=1001", /\?seed の値「1001」は 0〜1000 の整数/],
        ["?seed=-1", /\?seed の値「-1」/],
        ["?seed=1e3", /\?seed の値「1e3」/],
        ["?seed=", /\?seed の値「」/],
        ["?seed=5&seed=6", { seed: 6 }],
        ["?lesson&rungs=40&start=6", { lesson: true, rungs: 40, start: 6 }],
        ["?lesson&rungs=0&start=1", { lesson: true, rungs: 0, start: 1 }],
        ["?lesson&rungs=41", /\?rungs の値「41」は 0〜40 の整数/],
        ["?lesson&start=7", /\?start の値「7」は 1〜6 の整数/],
        ["?lesson&start=0", /\?start の値「0」/],
        ["?rungs=20", /\?rungs は授業モード（\?lesson）のオプションです（実験のウィンドウでは使えません）/],
        ["?theory&start=2", /理論と実験（\?theory）では使えません/],
        ["?lesson&theory&seed=3", { lesson: true, theory: true, seed: 3 }],
        ["?lesson=no", /\?lesson には値を付けません/],
        ["?speed=3", /「\?speed」というオプションはありません/],
        ["?constructor=1", /「\?constructor」というオプションはありません/],
    ];
    for (const [search, expected] of cases) {
        const read = readAddress(search, limits);
        if (expected instanceof RegExp) {
            assert.equal(read.refusals?.length, 1, search);
            assert.match(read.refusals[0], expected, search);
        } else {
            assert.deepEqual(read, { options: { ...plain, ...expected } }, search);
        }
    }
    assert.equal(readAddress("?seed=x&lesson&rungs=99999&tick=3", limits).refusals.length, 3, "every refusal is told");
});

test("record times are local with their offset", () => {
    const cases = [
        ["Asia/Tokyo", "2026-12-07T09:15:02+09:00"],
        ["America/St_Johns", "2026-12-06T20:45:02-03:30"],
        ["UTC", "2026-12-07T00:15:02+00:00"],
    ];
    for (const [zone, expected] of cases) {
        process.env.TZ = zone;
        assert.equal(localIsoTime(new Date("2026-12-07T00:15:02Z")), expected, zone);
    }
});
