// Opens the built page from disk in Debian's Chromium, with a clock the test moves.

import { newPage } from "./driver.mjs";
import { readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

export const html = process.env.TANABASHIGO_HTML;
const here = dirname(fileURLToPath(import.meta.url));

/** The lines of the project's test data file `name`, without its comments. */
function dataLines(name) {
    const text = readFileSync(join(here, "..", "..", "tests", "data", name), "utf8");
    return text.split("\n").filter((line) => line && !line.startsWith("#"));
}

/** Whether Enter, Space or → goes to the lesson, for each focus and view in front: the table both editions follow. */
export function lessonKeyTable() {
    return dataLines("lesson_keys.csv").slice(1).map((line) => {
        const [focus, front, key, acts] = line.split(",");
        return { focus, front, key, acts: acts === "yes" };
    });
}

/** The whole experiments the desktop window ends with at a seed: the project's test data. */
export function seededExperiments() {
    return dataLines("seeded_experiments.csv")
        .map((line) => {
            const [seed, rungs, trials, endingColumn, ...tally] = line.split(",").map(Number);
            return { seed, rungs, trials, endingColumn, tally };
        });
}

export { launch } from "./driver.mjs";

/**
 * The page opened from disk with `query`, its clock faked from a fixed local time. Every
 * request that leaves the file, and every script error, is collected in `problems`. Given
 * `inContext`, the page opens in that browser context, beside the pages already there.
 */
export async function open(browser, query = "", viewport = { width: 1366, height: 768 }, inContext = null) {
    const { page, context } = await newPage(browser, viewport, new Date("2026-12-07T09:00:00+09:00"), inContext);
    const problems = [];
    page.on("pageerror", (error) => problems.push(String(error)));
    page.on("console", (message) => message.type() === "error" && problems.push(message.text()));
    page.on("request", (request) => {
        if (!/^(file|data|blob):/.test(request.url())) {
            problems.push(`request ${request.url()}`);
        }
    });
    await page.raw.goto(`file://${html}${query}`);
    await page.waitForSelector("body[data-ready=true]");
    return { page, problems, context };
}

/** Answers the open prompt with `text`. */
export async function answer(page, text) {
    await page.fill("dialog[open] input", text);
    await page.click("dialog[open] >> text=OK");
}

/** Visible markers per column, 1..10. */
export function tally(page) {
    return page.$$eval(".form1 .red-box", (boxes) => {
        const counts = Array(10).fill(0);
        // The first box is the start mark; then twenty markers per column.
        boxes.slice(1).forEach((box, n) => (counts[Math.floor(n / 20)] += box.hidden ? 0 : 1));
        return counts;
    });
}

/** Which of start, quit, initialise, stop and help can be pressed. */
export function buttons(page) {
    return page.$$eval(".form1 .command", (all) =>
        Object.fromEntries(all.map((b) => [b.dataset.name, !b.disabled])),
    );
}

/**
 * Runs the page's clock `ms` on, a second at a time, letting each landing's write complete
 * (in real time) before the clock moves again, as it would in a classroom.
 */
export async function runStoring(page, ms) {
    for (let done = 0; done < ms; done += 1000) {
        await page.clock.runFor(Math.min(1000, ms - done));
        await stored(page);
    }
}

/** Waits (in real time) until every landing being written is stored and shown. */
export async function stored(page) {
    while (await page.evaluate(() => !!document.querySelector("[aria-busy=true]"))) {
        await new Promise((resolve) => setTimeout(resolve, 2));
    }
}

/** The record as the page's database holds it: the header, then each line by experiment and trial. */
export const recordText = (page) => page.evaluate(() => new Promise((resolve, reject) => {
    const opening = indexedDB.open("tanabashigo");
    opening.onerror = () => reject(opening.error);
    opening.onsuccess = () => {
        const db = opening.result;
        if (!db.objectStoreNames.contains("lines")) {
            resolve("");
            return;
        }
        const all = db.transaction("lines").objectStore("lines").index("by-number").getAll();
        all.onsuccess = () => resolve(all.result.length === 0 ? "" :
            ["time,experiment,trial,rungs,start,column,count,event", ...all.result.map((line) => line.text)].join("\n") + "\n");
    };
}));
