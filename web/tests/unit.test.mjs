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
const { RecordStore, localIsoTime, readAddress } = await import(
    `data:text/javascript,${encodeURIComponent(bundle.outputFiles[0].text)}`
);

const HEADER = "time,experiment,trial,rungs,start,column,count,event";
const format = (time, experiment, trial, l) =>
    `${time},${experiment},${trial},${l.rungs},${l.start},${l.column},${l.count},${l.ends ? "end" : "landing"}\n`;
const landing = (column, count, ends = false) => ({ rungs: 10, start: 3, column, count, ends });

/** A storage that holds text until `full` and then refuses as a browser does. */
class Storage {
    constructor(text = null) {
        this.items = new Map(text === null ? [] : [["tanabashigo.record", text]]);
        this.full = false;
    }
    getItem(key) {
        return this.items.get(key) ?? null;
    }
    setItem(key, value) {
        if (this.full) {
            throw new DOMException("full", "QuotaExceededError");
        }
        this.items.set(key, value);
    }
}

test("experiments are numbered after the highest kept, landings within their experiment", () => {
    const kept = `${HEADER}\nT,4,1,10,3,2,1,landing\nT,2,1,10,3,5,1,landing\n`;
    const cases = [
        { before: null, first: 1 },
        { before: "", first: 1 },
        { before: kept, first: 5 },
    ];
    for (const { before, first } of cases) {
        const storage = new Storage(before);
        const record = new RecordStore(storage, HEADER, format, () => new Date(0));
        assert.equal(record.keep(landing(3, 1)), null);
        assert.equal(record.keep(landing(3, 2)), null);
        record.startExperiment();
        assert.equal(record.keep(landing(4, 1)), null);
        const lines = storage.getItem("tanabashigo.record").split("\n");
        assert.equal(lines.filter((line) => line === HEADER).length, 1);
        assert.deepEqual(
            lines.slice(-4, -1).map((line) => line.split(",").slice(1, 3).join(",")),
            [`${first},1`, `${first},2`, `${first + 1},1`],
        );
    }
});

test("a full or missing storage is reported and loses nothing while the page is open", () => {
    for (const [storage, refusal] of [[new Storage(), /いっぱい/], [null, /許されていません/]]) {
        const record = new RecordStore(storage, HEADER, format);
        const first = record.keep(landing(3, 1));
        if (storage) {
            assert.equal(first, null);
            storage.full = true;
        }
        assert.match(record.keep(landing(3, 2)) ?? "", refusal);
        assert.match(record.keep(landing(4, 1, true)) ?? "", refusal);
        const lines = record.contents().trim().split("\n");
        assert.deepEqual(lines.map((line) => line.split(",").slice(2, 3).join()), ["trial", "1", "2", "3"]);
        assert.equal(record.landingCount(), 3);
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
