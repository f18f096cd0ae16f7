// A school year's record (about 300 MB) dropped on 理論と実験 in headless Chromium: how long
// the worker takes to read and pool it, the longest task the page's own thread ran meanwhile,
// how soon 中止 ends a reading, and the page's memory after it.
//   node bench/page_record_read.mjs PAGE.html [EXPERIMENTS]

import { launch } from "../web/tests/driver.mjs";

const [pageFile, experimentsText] = process.argv.slice(2);
if (!pageFile) {
    console.error("usage: node bench/page_record_read.mjs PAGE.html [EXPERIMENTS]");
    process.exit(2);
}
process.env.TANABASHIGO_HTML = pageFile; // read by the test helpers as they load
const { open } = await import("../web/tests/browser.mjs");
const experiments = Number(experimentsText ?? 290_000);

const header = "time,experiment,trial,rungs,start,column,count,event";
const lines = [header];
for (let n = 1; n <= experiments; ++n) {
    // A minute apart: experiments at one time with the same landings would be one seen twice.
    const at = new Date(Date.UTC(2026, 11, 7) + n * 60_000).toISOString().slice(0, 19);
    for (let i = 0; i < 21; ++i) {
        lines.push(`${at}+09:00,${n},${i + 1},10,3,4,${Math.min(i + 1, 20)},${i < 20 ? "landing" : "end"}`);
    }
}
const record = { name: "year.csv", mimeType: "text/csv", buffer: Buffer.from(lines.join("\n") + "\n") };

const browser = await launch();
try {
    const { page } = await open(browser, "?theory&seed=1");
    await page.waitForSelector(".theory svg");
    await page.evaluate(() => {
        window.__longest = 0;
        new PerformanceObserver((list) => list.getEntries().forEach((task) =>
            (window.__longest = Math.max(window.__longest, task.duration)))).observe({ type: "longtask" });
    });
    let started = Date.now();
    await page.setInputFiles(".file-input", [record]);
    await page.waitForSelector(".theory-table", { timeout: 600_000 });
    const readSeconds = (Date.now() - started) / 1000;
    const longest = await page.evaluate(() => window.__longest);

    await page.setInputFiles(".file-input", [record]);
    await page.waitForFunction(() => document.querySelector(".record-progress").value > 0);
    started = Date.now();
    await page.click(".record-cancel");
    await page.waitForFunction(() => /中止しました/.test(document.querySelector(".record-status").textContent));
    const cancelMs = Date.now() - started;
    const { JSHeapUsedSize } = await page.raw.metrics();
    console.log(`record: ${(record.buffer.length / 1048576).toFixed(0)} MB, ${experiments} experiments`);
    console.log(`read and pooled: ${readSeconds.toFixed(1)} s (the upload to the page included)`);
    console.log(`longest task on the page's thread: ${Math.round(longest)} ms`);
    console.log(`中止 to its message: ${cancelMs} ms`);
    console.log(`page's script heap afterwards: ${(JSHeapUsedSize / 1048576).toFixed(1)} MB`);
} finally {
    await browser.close();
}
