// 理論と実験 in Chromium, from the file opened from disk: the law, a simulation equal to the
// desktop's, cancel, a class's records pooled, and the exports.

import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { after, before, test } from "node:test";
import { fileURLToPath } from "node:url";
import { answer, launch, open, recordText, runStoring } from "./browser.mjs";

const data = join(dirname(fileURLToPath(import.meta.url)), "..", "..", "tests", "data");
let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

/** The independent law of `rungs` rungs from line 3, from the project's test data. */
function referenceLaw(rungs) {
    const row = readFileSync(join(data, "landing_law.csv"), "utf8")
        .split("\n")
        .map((line) => line.split(","))
        .find(([r, s]) => r === String(rungs) && s === "3");
    return row.slice(2).map(Number);
}

async function openTheory(viewport) {
    const opened = await open(browser, "?theory&seed=1", viewport);
    await opened.page.waitForSelector(".theory svg");
    return opened;
}

async function chooseRungs(page, rungs) {
    await page.fill(".theory input[type=number]", String(rungs));
    await page.dispatchEvent(".theory input[type=number]", "change");
}

// tanabashigo --analyse --rungs 50 --seed 7 --trials 10000000
const DESKTOP_COUNTS = "1652923 1579677 1494440 1287278 1145543 874044 727581 502854 410713 324947";

/** The landings of ten million 50-rung ladders at seed 7, as the page shows them. */
async function simulateFiftyRungs(page) {
    await chooseRungs(page, 50);
    await page.selectOption(".theory select >> nth=1", "10000000");
    await page.fill(".theory input[type=number] >> nth=1", "7");
    await page.click("text=実行");
    await page.waitForSelector(".theory[data-simulated]", { timeout: 120_000 });
    return page.getAttribute(".theory", "data-simulated");
}

test("the law is the exact one, and a seeded simulation counts as the desktop's", async () => {
    const { page, problems } = await openTheory();
    for (const rungs of [10, 50, 150]) {
        await chooseRungs(page, rungs);
        const law = (await page.getAttribute(".theory", "data-law")).split(" ").map(Number);
        referenceLaw(rungs).forEach((p, n) => assert.ok(Math.abs(law[n] - p) < 1e-12, `${rungs} rungs, column ${n + 1}`));
    }
    assert.equal(await simulateFiftyRungs(page), DESKTOP_COUNTS);
    assert.match(await page.textContent(".theory-sentences"), /シミュレーションの結果/);

    await page.selectOption(".theory select >> nth=1", "100000000");
    await page.click("text=実行");
    await page.waitForFunction(() => document.querySelector(".theory-progress").value > 0);
    await page.click("text=中止");
    assert.equal(await page.isEnabled("text=実行"), true);
    assert.equal(await page.$eval(".theory-progress", (p) => p.value), 0);
    assert.deepEqual(problems, []);
});

test("where WebAssembly SIMD is missing, the workers run the engine's own simulation and count the same", async () => {
    const { page, problems } = await openTheory();
    await page.raw.evaluateOnNewDocument(() => {
        WebAssembly.validate = () => false;
    });
    await page.reload();
    await page.waitForSelector(".theory svg");
    assert.equal(await page.evaluate(() => WebAssembly.validate(new Uint8Array())), false);
    assert.equal(await simulateFiftyRungs(page), DESKTOP_COUNTS);
    assert.deepEqual(problems, []);
});

test("three pupils' records, from the page and from --record, pool into one class total", async () => {
    // One group's record written by the experiment page itself.
    const { page, problems } = await open(browser, "?seed=1");
    await answer(page, "10");
    await page.click("[data-name=start]");
    await runStoring(page, 12_000);
    const fromPage = await recordText(page);
    await page.click("[data-name=stop]");
    await page.click("#theory");
    await page.waitForSelector(".theory svg");
    const desktop = readFileSync(join(data, "class_record.csv"), "utf8");
    const damaged = `${desktop.split("\n")[0]}\n2026-12-07T10:00:00+09:00,1,1,10,3,5,1,landing\n2026-12-07T10:00:05+09:00,1,2,10,3,12,1,landing\n`;
    await page.setInputFiles(".file-input", [
        { name: "group-a.csv", mimeType: "text/csv", buffer: Buffer.from(desktop) },
        { name: "group-b.csv", mimeType: "text/csv", buffer: Buffer.from(fromPage) },
        { name: "group-c.csv", mimeType: "text/csv", buffer: Buffer.from(damaged) },
    ]);
    await page.waitForSelector(".theory-table");
    assert.match(await page.textContent(".theory-errors"), /group-c\.csv：3 行目/);
    const rows = await page.$$eval(".theory-table tr", (trs) => trs.map((tr) => [...tr.children].map((td) => td.textContent)));
    const files = rows.filter((row) => row[0].startsWith("group-"));
    assert.deepEqual(files.map((row) => row[0]), ["group-a.csv", "group-b.csv"]);
    assert.deepEqual(files.map((row) => row.at(-1)), ["1", "3"]); // the 10-rung landings of each
    const total = rows.find((row) => row[0] === "クラス全体");
    for (let column = 1; column < total.length; ++column) {
        assert.equal(Number(total[column]), files.reduce((sum, row) => sum + Number(row[column]), 0));
    }
    assert.match(await page.textContent(".theory-sentences"), /クラスの結果|まだ比べられません/);
    assert.deepEqual(problems, []);
});

test("the charts download as SVG and PNG, the table as a spreadsheet's CSV", async () => {
    const { page } = await openTheory();
    const fetch = async (caption) => {
        const [download] = await Promise.all([page.waitForEvent("download"), page.click(`text=${caption}`)]);
        return readFileSync(await download.path());
    };
    for (const chart of ["法則の図", "公平さの図"]) {
        assert.match((await fetch(`${chart} SVG`)).toString("utf8"), /^(<\?xml[^>]*>\s*)?<svg[^>]*viewBox[^]*<\/svg>\s*$/);
        const png = await fetch(`${chart} PNG`);
        assert.deepEqual([...png.subarray(0, 8)], [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a]);
        assert.ok(png.readUInt32BE(16) >= 600, "width");
    }
    const csv = await fetch("表をCSVで保存");
    assert.deepEqual([...csv.subarray(0, 3)], [0xef, 0xbb, 0xbf]);
    assert.ok(csv.toString("utf8").split("\n").length > 10);
});

test("a large record is read in a worker with progress, and can be cancelled", async () => {
    const { page, problems } = await openTheory();
    const header = "time,experiment,trial,rungs,start,column,count,event";
    const started = (n) => new Date(Date.UTC(2026, 11, 7) + n * 60_000).toISOString().slice(0, 19);
    const experiment = (n) => Array.from({ length: 21 }, (_, i) =>
        `${started(n)}+09:00,${n},${i + 1},10,3,4,${Math.min(i + 1, 20)},${i < 20 ? "landing" : "end"}`).join("\n");
    const experiments = 120_000; // about 125 MB
    const parts = [header];
    for (let n = 1; n <= experiments; ++n) {
        parts.push(experiment(n));
    }
    const big = { name: "year.csv", mimeType: "text/csv", buffer: Buffer.from(parts.join("\n") + "\n") };
    await page.setInputFiles(".file-input", [big]);
    await page.waitForFunction(() => {
        const progress = document.querySelector(".record-progress");
        return progress.value > 0 && progress.value < progress.max;
    });
    const size = (big.buffer.length / 1048576).toFixed(1);
    assert.match(await page.textContent(".record-status"), new RegExp(`^記録を読んでいます… [\\d.]+ / ${size} MB$`));
    await page.click(".record-cancel");
    assert.equal(await page.textContent(".record-status"), "記録を読むのを中止しました。");
    assert.equal(await page.$$eval(".theory-table", (all) => all.length), 0);
    await page.setInputFiles(".file-input", [big]);
    await page.waitForSelector(".theory-table", { timeout: 120_000 });
    const total = await page.$$eval(".total-row td", (cells) => cells.map((cell) => cell.textContent));
    assert.deepEqual(total.slice(0, 2), ["クラス全体", String(experiments)]);
    assert.equal(total[5], String(21 * experiments)); // each experiment's end landing counts
    assert.deepEqual(problems, []);
});
