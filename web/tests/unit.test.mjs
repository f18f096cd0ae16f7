// The page's own logic under Node: the record store, the address's options, the local time.

import assert from "node:assert/strict";
import { test } from "node:test";
import { build } from "esbuild";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const src = join(dirname(fileURLToPath(import.meta.url)), "..", "src");
const bundle = await build({
    stdin: {
        contents: 'export * from "./record_store"; export * from "./url_options";',
        resolveDir: src,
        loader: "ts",
    },
    bundle: true,
    format: "esm",
    write: false,
});
const { MemoryLines, RecordStore, localIsoTime, readAddress } = await import(
    `data:text/javascript,${encodeURIComponent(bundle.outputFiles[0].text)}`
);

const HEADER = "time,experiment,trial,rungs,start,column,count,event";
const format = (time, experiment, trial, l) =>
    `${time},${experiment},${trial},${l.rungs},${l.start},${l.column},${l.count},${l.ends ? "end" : "landing"}`;
const landing = (column, count, ends = false) => ({ rungs: 10, start: 3, column, count, ends });

/** A storage that keeps lines until `refusing` names the error it then refuses with. */
class Storage extends MemoryLines {
    constructor(lines = []) {
        super();
        this.kept = lines.map(([experiment, trial]) => ({ experiment, trial, text: `T,${experiment},${trial}` }));
        this.refusing = null;
    }
    async append(plan) {
        if (this.refusing) {
            throw new DOMException("refused", this.refusing);
        }
        return super.append(plan);
    }
}

/** experiment,trial of every line of the record as a file holds it. */
async function numbers(record) {
    const lines = (await record.contents()).trimEnd().split("\n");
    assert.equal(lines[0], HEADER);
    return lines.slice(1).map((line) => line.split(",").slice(1, 3).join(","));
}

test("experiments are numbered after the highest kept, landings within their experiment", async () => {
    for (const [kept, first] of [[[], 1], [[[4, 1], [2, 1]], 5]]) {
        const record = new RecordStore(new Storage(kept), HEADER, format, () => new Date(0));
        assert.equal(await record.keep(landing(3, 1)), null);
        assert.equal(await record.keep(landing(3, 2)), null);
        record.startExperiment();
        assert.equal(await record.keep(landing(4, 1)), null);
        assert.deepEqual((await numbers(record)).slice(-3), [`${first},1`, `${first},2`, `${first + 1},1`]);
    }
});

test("a refused landing waits, in its own experiment, and is written before the next", async () => {
    const cases = [
        ["QuotaExceededError", /いっぱい/],
        ["UnknownError", /書き込めません/],
    ];
    for (const [error, reason] of cases) {
        const storage = new Storage();
        const record = new RecordStore(storage, HEADER, format);
        assert.equal(await record.keep(landing(3, 1)), null);
        storage.refusing = error;
        assert.match((await record.keep(landing(3, 2))) ?? "", reason);
        record.startExperiment();
        assert.match((await record.keep(landing(5, 1))) ?? "", reason);
        assert.ok(record.hasWaiting());
        // Saved as a file meanwhile, the record holds the waiting landings under their numbers.
        assert.deepEqual(await numbers(record), ["1,1", "1,2", "2,1"]);
        storage.refusing = null;
        assert.equal(await record.writeWaiting(), null);
        assert.equal(record.hasWaiting(), false);
        assert.equal(await record.keep(landing(5, 2)), null);
        assert.deepEqual(await numbers(record), ["1,1", "1,2", "2,1", "2,2"]);
    }
});

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
