// Opens the built page from disk in Debian's Chromium, with a clock the test moves.

import { newPage } from "./driver.mjs";
import { readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

export const html = process.env.TANABASHIGO_HTML;
const here = dirname(fileURLToPath(import.meta.url));

/** The whole experiments the desktop window ends with at a seed: the project's test data. */
export function seededExperiments() {
    const text = readFileSync(join(here, "..", "..", "tests", "data", "seeded_experiments.csv"), "utf8");
    return text
        .split("\n")
        .filter((line) => line && !line.startsWith("#"))
        .map((line) => {
            const [seed, rungs, trials, endingColumn, ...tally] = line.split(",").map(Number);
            return { seed, rungs, trials, endingColumn, tally };
        });
}

export { launch } from "./driver.mjs";

/**
 * The page opened from disk with `query`, its clock faked from a fixed local time. Every
 * request that leaves the file, and every script error, is collected in `problems`.
 */
export async function open(browser, query = "", viewport = { width: 1366, height: 768 }) {
    const { page, context } = await newPage(browser, viewport, new Date("2026-12-07T09:00:00+09:00"));
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
