// The page for every pupil, in Chromium: axe-core on every view, the keyboard alone, what a
// screen reader is told, what a finger can hit and what can be read on every screen, and the
// hosted edition installed and offline.

import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { mkdtempSync, readFileSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { after, before, test } from "node:test";
import { answer, buttons, html, launch, open, recordText, runStoring, seededExperiments, tally } from "./browser.mjs";

const axeSource = readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
let browser;
// A browser window of a school screen: a page shown smaller in it is zoomed.
before(async () => (browser = await launch({ args: ["--window-size=1366,768"] })));
after(() => browser?.close());

/** axe-core's violations on the page as it stands; its timers run on the page's fake clock. */
async function violations(page) {
    await page.evaluate(axeSource);
    return page.evaluate(async () => {
        let result = null;
        globalThis.axe.run(document).then((found) => (result = found));
        while (!result) {
            await globalThis.__runFor(16);
        }
        return result.violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(" ")}`);
    });
}

test("a seeded experiment ends on the desktop's trial, column and tally; a screen reader hears each landing and the end", async () => {
    for (const expected of seededExperiments().filter((e) => e.seed === 1)) {
        const { page, problems } = await open(browser, `?seed=${expected.seed}`);
        await answer(page, String(expected.rungs));
        await page.click("[data-name=start]");
        const region = await page.raw.accessibility.snapshot({ root: await page.$("#announcer"), interestingOnly: false });
        assert.deepEqual([region.role, region.live], ["status", "polite"]);
        for (let trial = 1; trial <= 6; ++trial) {
            await runStoring(page, 5_000);
            const [, column, count] = /^(\d+) の列に着きました。\1 の列は (\d+) 回$/.exec(await page.textContent("#announcer"));
            const markers = await tally(page);
            assert.equal(markers[column - 1], Number(count), `trial ${trial}`);
            assert.deepEqual(await page.$$eval(".form1 .tally td", (cells) => cells.map((c) => Number(c.textContent))), markers);
        }
        await runStoring(page, (expected.trials * 5 - 25) * 1000);
        assert.equal(await page.textContent("#announcer"), `${expected.endingColumn} の列に 21 回目が来たので、実験は終わりました。`);
        assert.deepEqual(await buttons(page), { quit: true, help: true, initialise: true, stop: false, start: false });
        const last = (await recordText(page)).trim().split("\n").at(-1).split(",");
        assert.deepEqual(last.slice(2), [String(expected.trials), String(expected.rungs), "3", String(expected.endingColumn), "20", "end"]);
        if (!(await page.evaluate(() => navigator.storage.persisted()))) {
            assert.match(await page.textContent("#notice"), /消すことがあります/);
            assert.equal(await page.textContent("#notice button"), "記録を保存");
        }
        const table = await page.raw.accessibility.snapshot({ root: await page.$(".form1 .tally"), interestingOnly: false });
        const [head, counts] = table.children.filter((node) => node.role === "row").map((row) => row.children.map((c) => `${c.role} ${c.name}`));
        assert.deepEqual(head, ["columnheader 列", ...Array.from({ length: 10 }, (_, k) => `columnheader ${k + 1}`)]);
        assert.deepEqual(counts, ["rowheader 回数", ...expected.tally.map((count) => `cell ${count}`)]);
        assert.deepEqual(await violations(page), [], "ended");
        assert.deepEqual(problems, []);
    }
});

/** Names a control as these tests do: its name in the window, its label or its text. */
const NAMING = `globalThis.__named = (e) => e === document.body ? "" : e.dataset.name ?? e.dataset.action ??
    e.getAttribute("aria-label") ?? e.labels?.[0]?.textContent ?? e.textContent.trim();`;

/** Tabs `presses` times: what took the focus each time (the page itself left out) and its ring. */
async function tabWalk(page, presses) {
    await page.evaluate(NAMING);
    const seen = [];
    for (let n = 0; n < presses; ++n) {
        await page.keyboard.press("Tab");
        seen.push(await page.evaluate(() => {
            const style = getComputedStyle(document.activeElement);
            return { name: globalThis.__named(document.activeElement), ring: style.outlineStyle === "none" ? 0 : parseFloat(style.outlineWidth) };
        }));
    }
    return seen.filter((step) => step.name !== "");
}

test("the keyboard alone reaches every control in order, with a ring, and pools two record files; axe-core passes every view", async () => {
    const { page, problems } = await open(browser, "?seed=3");
    assert.deepEqual(await violations(page), [], "prompt");
    await page.keyboard.type("10");
    await page.keyboard.press("Enter");
    const walk = await tabWalk(page, 10);
    assert.deepEqual(walk.map((w) => w.name), ["スタートの印（3本目の線）", "quit", "help", "授業モード", "理論と実験",
        "記録を保存", "たなばしごと着地の印", "start", "スタートの印（3本目の線）"]);
    assert.ok(walk.every((w) => w.ring >= 2), JSON.stringify(walk));
    await page.keyboard.down("Shift");
    await page.keyboard.press("Tab");
    await page.keyboard.up("Shift");
    await page.keyboard.press("Enter");
    await runStoring(page, 12_000);
    assert.ok((await tally(page)).some((count) => count > 0));
    assert.deepEqual(await violations(page), [], "running");
    for (const name of ["stop", "help"]) {
        await page.focus(`[data-name=${name}]`);
        await page.keyboard.press("Enter");
    }
    assert.deepEqual(await violations(page), [], "help");
    // Escape closes the help, then answers the prompt and the question it leads to.
    for (const title of [" たなば横線本数の設定", "確認", " たなば横線本数の設定"]) {
        await page.keyboard.press("Escape");
        assert.equal(await page.textContent("dialog[open] .box-title"), title);
    }
    await page.keyboard.type("10");
    await page.keyboard.press("Enter");
    const walkThrough = async (view, opener, root) => {
        await page.focus(opener);
        await page.keyboard.press("Enter");
        await page.waitForSelector(`${root} button`);
        assert.deepEqual(await violations(page), [], view);
        const reached = new Set((await tabWalk(page, 40)).filter((w) => w.ring >= 2).map((w) => w.name));
        const all = await page.$$eval(`${root} :is(button, input, select):not(:disabled, .file-input)`, (found) =>
            found.filter((e) => e.getClientRects().length).map((e) => globalThis.__named(e)));
        assert.deepEqual(all.filter((name) => !reached.has(name)), [], view);
    };
    await walkThrough("理論と実験", "#theory", ".theory");
    const folder = mkdtempSync(join(tmpdir(), "tanabashigo-records-"));
    const files = ["group-a.csv", "group-b.csv"].map((name) => join(folder, name));
    const record = await recordText(page);
    files.forEach((file) => writeFileSync(file, record));
    while ((await page.evaluate(() => document.activeElement.textContent)) !== "記録を開く（複数可）") {
        await page.keyboard.press("Tab");
    }
    const chooser = page.raw.waitForFileChooser();
    await page.evaluate(() => 0); // the chooser is caught from here on: the session keeps its order
    await page.keyboard.press("Enter");
    await (await chooser).accept(files);
    await page.waitForSelector(".theory-table .file-row");
    // Read in the order chosen: the second, a copy of the first, counts once.
    assert.deepEqual(await page.$$eval(".file-row td:first-child", (cells) => cells.map((c) => c.textContent)), ["group-a.csv"]);
    assert.match(await page.textContent(".theory-note"), /「group-b\.csv」の実験 \d+ 回分は「group-a\.csv」にもある/);
    await page.focus("#theory");
    await page.keyboard.press("Enter");
    await walkThrough("授業モード", "#lesson-mode", ".lesson");
    assert.deepEqual(problems, []);
});

const touch = { hasTouch: true, isMobile: true, deviceScaleFactor: 2 };
/**
 * Each screen a class uses, and what must hold there besides: no control under 44×44 CSS px to
 * touch, reached by scrolling, and no text under 12 CSS px. 200 % zoom is the browser's
 * 1366×768 showing half the CSS px, two device px each: its text is twice as large or more.
 */
const SCREENS = [
    ["1366×768", { width: 1366, height: 768 }, { fits: true }],
    ["1024×768", { width: 1024, height: 768 }, { fits: true }],
    ["768×1024", { width: 768, height: 1024 }, { fits: true }],
    ["an iPad upright", { width: 810, height: 1080, ...touch }, { fits: true }],
    ["an iPad on its side", { width: 1080, height: 810, ...touch }, { fits: true }],
    ["200 % zoom", { width: 683, height: 384, deviceScaleFactor: 2 }, { twice: "1366×768" }],
    ["320 px wide", { width: 320, height: 640 }, { downOnly: [".lesson", ".theory-area"] }],
];

/** Each view: how it is reached from the one before, its root, and the controls a finger hits. */
const VIEWS = [
    ["prompt", async () => undefined, "dialog[open]", "dialog[open] :is(button, input)"],
    ["window", (page) => answer(page, "10"), ".form1", ".toolbar button, .form1 .command"],
    ["help", (page) => page.click("[data-name=help]"), ".form2", ".form2 .command"],
    ["授業モード", (page) => page.click("#lesson-mode"), ".lesson", ".lesson :is(button, input, select)"],
    ["理論と実験", (page) => page.click("#theory").then(() => page.waitForSelector(".theory svg")), ".theory",
        ".theory :is(button, select, input:not(.file-input))"],
];

/**
 * In the page: each control a finger hits less than 44 px either way, once scrolled to, the
 * least text size in CSS px, and how far each of `downOnly` scrolls across.
 */
function measure([root, controls, downOnly]) {
    const small = [...document.querySelectorAll(controls)].filter((e) => e.getClientRects().length).map((element) => {
        element.scrollIntoView({ block: "center", inline: "center" });
        const box = element.getBoundingClientRect();
        // How far a finger hits it, probing along its centre lines pixel by pixel.
        const reach = (dx, dy) => {
            let n = 0;
            while (n < 200 && element.contains(document.elementFromPoint(box.x + box.width / 2 + dx * (n + 1), box.y + box.height / 2 + dy * (n + 1)))) {
                ++n;
            }
            return n;
        };
        return [element.dataset.name ?? element.textContent, reach(-1, 0) + reach(1, 0) + 1, reach(0, -1) + reach(0, 1) + 1];
    }).filter(([, w, h]) => w < 44 || h < 44);
    const view = document.querySelector(root);
    const scale = view.getBoundingClientRect().width / view.offsetWidth;
    let text = Infinity;
    const walker = document.createTreeWalker(view, NodeFilter.SHOW_TEXT);
    for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        const element = node.parentElement;
        if (node.textContent.trim() && element.getClientRects().length && !element.closest(".visually-hidden, svg")) {
            text = Math.min(text, parseFloat(getComputedStyle(element).fontSize) * scale);
        }
    }
    const across = [...document.querySelectorAll(downOnly.join() || "none")].map((e) => e.scrollWidth - e.clientWidth);
    return { small: small.map(String), text, across };
}

test("every view on every screen can be touched, reached and read; the window fits a school's screen", async () => {
    const seen = {}; // the least text of each view, in device px
    for (const [screen, viewport, { fits, twice, downOnly = [] }] of SCREENS) {
        const { page, problems } = await open(browser, "?seed=1", viewport);
        for (const [view, reach, root, controls] of VIEWS) {
            const where = `${screen}, ${view}`;
            await reach(page);
            const { small, text, across } = await page.evaluate(measure, [root, controls, downOnly]);
            assert.deepEqual(small, [], where);
            assert.ok(text >= 12, `${where}: text of ${text} px`);
            seen[where] = text * (viewport.deviceScaleFactor ?? 1);
            assert.ok(!twice || seen[where] >= 2 * seen[`${twice}, ${view}`] - 0.01, `${where}: ${seen[where]} device px`);
            assert.ok(across.every((overflow) => overflow <= 1), `${where} scrolls across: ${across}`);
            if (fits && view === "window") {
                const box = await (await page.$(".form1")).boundingBox();
                const shown = box.x >= 0 && box.y >= 0 && box.x + box.width <= viewport.width + 1 && box.y + box.height <= viewport.height + 1;
                assert.ok(shown && (box.width >= viewport.width * 0.6 || box.height >= (viewport.height - 50) * 0.95),
                    `${where}: ${JSON.stringify(box)}`);
            }
        }
        assert.deepEqual(problems, [], screen);
    }
});

test("the hosted edition installs, and reloads offline once its server has stopped", async () => {
    const port = String(20000 + (process.pid % 20000));
    const server = spawn("python3", ["-m", "http.server", port, "--bind", "127.0.0.1", "--directory", join(dirname(html), "hosted")]);
    const address = `http://127.0.0.1:${port}/`;
    const page = await browser.newPage();
    const problems = [];
    page.on("pageerror", (error) => problems.push(String(error)));
    for (let tries = 0; !(await page.goto(address).catch(() => null)) && tries < 50; ++tries) {
        await new Promise((resolve) => setTimeout(resolve, 100));
    }
    await page.waitForFunction(() => navigator.serviceWorker.controller);
    const cdp = await page.createCDPSession();
    assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, []);
    assert.deepEqual(await cdp.send("Page.getAppManifest").then((m) => [m.url, m.errors]), [`${address}manifest.webmanifest`, []]);
    server.kill();
    await new Promise((resolve) => server.on("exit", resolve));
    await assert.rejects(fetch(address));
    await page.reload();
    await page.waitForSelector("dialog[open] input");
    assert.equal(await page.title(), "たなばしご");
    assert.deepEqual(problems, []);
    await page.close();
});
