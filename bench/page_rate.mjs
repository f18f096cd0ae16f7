// The page's simulation in headless Chromium beside the native one, one thread each: trials
// per CPU-second at 10, 30, 50, 100 and 225 rungs, the median of interleaved rounds. The page
// runs the engine's blocks one call at a time, as its workers do, and its CPU time is the
// renderer's own (from /proc); the native figure is bench_simulation's.
//   node bench/page_rate.mjs PAGE.html BUILD_DIR [ROUNDS]

import { launch } from "../web/tests/driver.mjs";
import { execFileSync } from "node:child_process";
import { readFileSync, readdirSync } from "node:fs";
import { resolve } from "node:path";

const [pageFile, buildDir, roundsText] = process.argv.slice(2);
if (!pageFile || !buildDir) {
    console.error("usage: node bench/page_rate.mjs PAGE.html BUILD_DIR [ROUNDS]");
    process.exit(2);
}
const rounds = Number(roundsText ?? 3);
const native = resolve(buildDir, "bench", "bench_simulation");
const rungCounts = [10, 30, 50, 100, 225];

/** CPU seconds used so far by the renderers among the descendants of process `root`. */
function rendererSeconds(root) {
    const children = new Map();
    const stats = new Map();
    for (const entry of readdirSync("/proc").filter((name) => /^\d+$/.test(name))) {
        try {
            const stat = readFileSync(`/proc/${entry}/stat`, "utf8");
            const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
            const parent = Number(fields[1]);
            children.set(parent, [...(children.get(parent) ?? []), Number(entry)]);
            stats.set(Number(entry), (Number(fields[11]) + Number(fields[12])) / 100);
        } catch {
            // the process ended while being read
        }
    }
    let seconds = 0;
    const visit = (pid) => {
        for (const child of children.get(pid) ?? []) {
            try {
                if (readFileSync(`/proc/${child}/cmdline`, "utf8").includes("--type=renderer")) {
                    seconds += stats.get(child);
                }
            } catch {
                // ended
            }
            visit(child);
        }
    };
    visit(root);
    return seconds;
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const browser = await launch();
const page = await browser.newPage();
await page.goto(`file://${resolve(pageFile)}`);
await page.waitForSelector("body[data-ready=true]");
// A worker for each engine the page holds: its own, and the one built with SIMD if any.
const engines = await page.evaluate(() => {
    const harness = `
const ready = createEngine();
onmessage = async ({ data }) => {
    const engine = await ready;
    const blocks = Math.ceil(data.trials / engine.trialsPerBlock());
    for (let block = 0; block < blocks; ++block) {
        engine.simulateBlocks(data.rungs, 3, data.seed, block, 1, data.trials);
    }
    postMessage(null);
};`;
    window.benchWorkers = {};
    for (const [name, id] of [["engine", "engine-script"], ["SIMD", "simulation-script"]]) {
        const text = document.getElementById(id)?.textContent ?? "";
        if (text !== "") {
            window.benchWorkers[name] = new Worker(URL.createObjectURL(new Blob([text, harness])));
        }
    }
    return Object.keys(window.benchWorkers);
});
const browserPid = browser.process().pid;

/** Trials per CPU-second of the page's worker `engine` for `trials` trials of `rungs` rungs. */
async function pageRate(engine, rungs, trials, seed) {
    const before = rendererSeconds(browserPid);
    await page.evaluate(
        (engine, request) =>
            new Promise((done) => {
                const worker = window.benchWorkers[engine];
                worker.onmessage = done;
                worker.postMessage(request);
            }),
        engine, { rungs, trials, seed },
    );
    return trials / (rendererSeconds(browserPid) - before);
}

function nativeRate(rungs, trials) {
    return Number(execFileSync(native, ["--simulation", String(rungs), String(trials)], { encoding: "utf8" }));
}

console.log(`Trials per CPU-second, one thread, median of ${rounds} interleaved rounds.\n`);
console.log(`| rungs | native | ${engines.map((e) => `page, ${e}`).join(" | ")} | page / native |`);
console.log(`|---|---|${engines.map(() => "---|").join("")}---|`);
for (const rungs of rungCounts) {
    // About a second of native work a run, a whole number of blocks.
    const perSecond = nativeRate(rungs, 1 << 20);
    const trials = Math.max(1, Math.round(perSecond / 65536)) * 65536;
    const natives = [];
    const pages = Object.fromEntries(engines.map((e) => [e, []]));
    for (const engine of engines) {
        await pageRate(engine, rungs, 1 << 20, 99); // warmed up, as a busy worker is
    }
    for (let round = 1; round <= rounds; ++round) {
        natives.push(nativeRate(rungs, trials));
        for (const engine of engines) {
            pages[engine].push(await pageRate(engine, rungs, trials, round));
        }
    }
    const n = median(natives);
    const rates = engines.map((e) => median(pages[e]));
    const cells = rates.map((r) => `${(r / 1e6).toFixed(1)} M/s`).join(" | ");
    console.log(`| ${rungs} | ${(n / 1e6).toFixed(1)} M/s | ${cells} | ${(rates.at(-1) / n).toFixed(2)} |`);
}
await browser.close();
