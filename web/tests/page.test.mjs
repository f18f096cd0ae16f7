// The page in Chromium, opened from disk as a teacher would open it from a USB stick.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync, mkdtempSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { answer, buttons, launch, lessonKeyTable, open, recordText, runStoring, stored, tally } from "./browser.mjs";

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());



test("the prompt asks until it gets a count, and an empty answer asks whether to quit", async () => {
    const { page, problems } = await open(browser);
    assert.equal(await page.textContent("dialog[open] .box-title"), " たなば横線本数の設定");
    assert.equal(await page.textContent("dialog[open] .box-prompt"), "10以上50以下の整数を入力してください．．．");
    assert.equal(await page.inputValue("dialog[open] input"), "50");
    for (const wrong of ["9", "50.5", "abc", "　"]) {
        await answer(page, wrong);
        assert.equal(await page.textContent("dialog[open] .box-title"), " たなば横線本数の設定", wrong);
    }
    await page.click("dialog[open] >> text=キャンセル");
    assert.equal(await page.textContent("dialog[open] .box-title"), "確認");
    assert.equal(await page.textContent("dialog[open] .box-question"), "終了していいですか？");
    await page.click("dialog[open] >> text=いいえ");
    await answer(page, "１２．９");
    assert.deepEqual(await buttons(page), { quit: true, help: true, initialise: false, stop: false, start: true });
    assert.deepEqual(problems, []);
});

test("the largest seed builds the desktop's first ladder", async () => {
    const { page } = await open(browser, "?seed=4294967295");
    await answer(page, "10");
    await page.click("[data-name=start]");
    await page.clock.runFor(200);
    assert.equal(await page.getAttribute("canvas", "data-rungs"), "5:46 5:24 9:56 6:51 5:48 8:27 8:51 3:28 5:40 7:34");
});

test("HELP shows the question and comes back to a fresh window; 初期化 and 終了", async () => {
    const { page, problems } = await open(browser, "?seed=7");
    await answer(page, "10");
    await page.click("[data-name=start]");
    await runStoring(page, 12_000);
    await page.click("[data-name=stop]");
    assert.ok((await tally(page)).reduce((a, b) => a + b) >= 3);
    await page.click("[data-name=initialise]");
    assert.deepEqual(await tally(page), Array(10).fill(0));
    await answer(page, "20");
    await page.click("[data-name=start]");
    await runStoring(page, 6_000);
    await page.click("[data-name=stop]");
    const record = await recordLines(page);
    const firstOfSecond = record.findIndex(([experiment]) => experiment === 2);
    assert.ok(firstOfSecond >= 3, "初期化 starts a new experiment of the record");
    const trials = record.slice(firstOfSecond).map(([, trial]) => trial);
    assert.deepEqual(trials, trials.map((_, i) => i + 1));
    await page.click("[data-name=help]");
    assert.equal(await page.title(), "たなばしご＿ヘルプ（設問と操作方法）"); // a title loses its leading blank
    const lines = await page.$$eval(".help-line", (all) => all.map((line) => line.textContent));
    assert.equal(lines.length, 12);
    assert.equal(lines[8], "　　　　　　　［ＯＫ］ボタンをクリックします。");
    assert.equal(lines[1], "　【問　　題】");
    await page.click("text=閉じる");
    await page.waitForSelector("dialog[open]");
    assert.deepEqual(await tally(page), Array(10).fill(0));
    await answer(page, "10");
    await page.click("[data-name=quit]");
    assert.equal(await page.textContent("dialog[open] .box-title"), "たなばしご");
    await page.click("dialog[open] >> text=いいえ");
    await page.click("[data-name=quit]");
    await page.click("dialog[open] >> text=はい");
    assert.match(await page.textContent("#stage"), /終了しました/);
    assert.deepEqual(problems, []);
});

test("the record survives a reload and downloads as the desktop writes it", async () => {
    const { page, problems } = await open(browser, "?seed=1");
    await answer(page, "10");
    await page.click("[data-name=start]");
    await runStoring(page, 12_000);
    const before = await recordText(page);
    const lines = before.split("\n");
    assert.equal(lines[0], "time,experiment,trial,rungs,start,column,count,event");
    assert.equal(lines.length, 5); // the header, three landings and the final line end
    assert.match(lines[1], /^2026-12-07T09:00:0\d\+09:00,1,1,10,3,\d+,1,landing$/);
    await page.reload();
    await page.waitForSelector("dialog[open]");
    assert.equal(await recordText(page), before);
    await answer(page, "10");
    await page.click("[data-name=start]");
    await runStoring(page, 1_000);
    const { file, saved } = await saveRecord(page);
    assert.equal(saved, await recordText(page));
    assert.match(saved.split("\n")[4], /,2,1,10,3,\d+,1,landing$/);
    if (process.env.TANABASHIGO_EXECUTABLE) {
        const report = execFileSync(process.env.TANABASHIGO_EXECUTABLE, ["--compare", file], { encoding: "utf8" });
        assert.match(report, /10 rungs from line 3, 4 landings/);
    }
    assert.deepEqual(problems, []);
});

test("授業モード: pause holds every pixel, → moves exactly one step", async () => {
    const { page, problems } = await open(browser, "?seed=1&lesson&rungs=50", { width: 768, height: 1024 });
    await page.waitForSelector(".lesson-canvas");
    const picture = () => page.$eval(".lesson-canvas", (c) => ({ ...c.dataset, pixels: c.toDataURL() }));
    await page.keyboard.press("Enter");
    await page.clock.runFor(5_000);
    await page.keyboard.press(" ");
    await stored(page); // a landing written as the lesson paused shows its marker first
    const paused = await picture();
    assert.ok(Number(paused.rungs) > 0);
    await page.clock.runFor(10_000);
    assert.deepEqual(await picture(), paused);
    for (let n = 0; n < 60; ++n) {
        const before = await picture();
        await page.keyboard.press("ArrowRight");
        await stored(page); // a landing's marker shows once it is stored
        const after = await picture();
        const rungs = Number(after.rungs) - Number(before.rungs);
        const path = Number(after.path) - Number(before.path);
        const landed = after.counts !== before.counts;
        // One rung, or one step of the path (down and across a rung, or down to a landing), or
        // the start of the next trial together with its first rung.
        assert.ok((rungs === 1 && path === 0) || (rungs === 0 && path === 2) || (landed && path === 1)
            || (Number(after.rungs) === 1 && Number(after.path) === 0), JSON.stringify({ before, after }));
        await page.clock.runFor(1_000);
        assert.equal((await picture()).pixels, after.pixels, "a step leaves the lesson paused");
    }
    await page.keyboard.press(" ");
    await page.clock.runFor(20_000);
    assert.notEqual((await picture()).pixels, paused.pixels);
    assert.deepEqual(problems, []);
});

test("授業モード prints its worksheet alone on one A4 page: the box for 予想, the stored counts and 考察", async () => {
    const { page, problems } = await open(browser, "?seed=1&lesson&rungs=30");
    await page.click("[data-action=start]");
    await runStoring(page, 60_000);
    // The print dialog answers at once: the page prints as the print stylesheet lays it out.
    await page.evaluate(() => (window.print = () => dispatchEvent(new Event("afterprint"))));
    await page.click("[data-action=worksheet]");
    const counts = (await page.getAttribute(".lesson-canvas", "data-counts")).split(" ").map(Number);
    const pdf = join(mkdtempSync(join(tmpdir(), "tanabashigo-")), "worksheet.pdf");
    writeFileSync(pdf, await page.raw.pdf({ preferCSSPageSize: true, printBackground: true }));
    const read = (tool, ...options) => execFileSync(tool, options, { encoding: "utf8" }).replace(/ +/g, " ");
    assert.match(read("pdfinfo", pdf), /Pages: 1\n[^]*Page size: 59\d\.\d+ x 84\d\.\d+ pts \(A4\)/);
    const text = read("pdftotext", "-layout", pdf, "-");
    const total = counts.reduce((a, b) => a + b, 0);
    assert.ok(total > 0 && text.includes(`着いた回数 ${counts.join(" ")} ${total}\n`), text);
    assert.match(text, /予想 実験の前に[^]*理論の確率 0\.187 0\.182[^]*考察/);
    assert.deepEqual(problems, []);
});

test("address options the command line would refuse are refused on the page, with the engine's ranges", async () => {
    const refused = await open(browser, "?lesson&rungs=99999&seed=-1&start=11");
    const shown = await refused.page.$$eval(".address-refused li", (items) => items.map((item) => item.textContent));
    [/\?rungs の値「99999」は 0〜225 の整数/, /\?seed の値「-1」は 0〜4294967295 の整数/, /\?start の値「11」は 1〜10 の整数/]
        .forEach((refusal, n) => assert.match(shown[n] ?? "", refusal));
    assert.equal(shown.length, 3);
    assert.equal(await refused.page.$$eval(".form1, .lesson, dialog[open]", (all) => all.length), 0, "nothing starts");
    const { page, problems } = await open(browser, "?lesson&rungs=225&start=10");
    assert.deepEqual(await page.$$eval(".address-refused li", (items) => items.length), 0);
    await page.waitForSelector(".lesson-canvas");
    assert.equal(await page.inputValue(".lesson-setting input[type=number]"), "225");
    assert.equal(await page.inputValue(".lesson-setting select"), "10");
    assert.deepEqual([...refused.problems, ...problems], []);
});

/** Landings shown as markers, all columns together. */
const shown = async (page) => (await tally(page)).reduce((a, b) => a + b, 0);
/** The landing lines of the record, the header left out, as [experiment, trial, event]. */
const recordLines = async (page) => linesOf(await recordText(page));

/** The record as 記録を保存 saves it: the file and its text. */
const saveRecord = async (page) => {
    const [download] = await Promise.all([page.waitForEvent("download"), page.click("#save-record")]);
    const file = join(mkdtempSync(join(tmpdir(), "tanabashigo-")), "record.csv");
    await download.saveAs(file);
    return { file, saved: readFileSync(file, "utf8") };
};
/** Lines of a record's text as [experiment, trial, event], the header left out. */
const linesOf = (text) => text.split("\n").slice(1).filter(Boolean)
    .map((line) => line.split(",")).map((f) => [Number(f[1]), Number(f[2]), f[7]]);

/** The disk is full from now on, until `window.__restore()`. */
const fillTheDisk = (page) => page.evaluate(() => {
    const add = IDBObjectStore.prototype.add;
    window.__restore = () => (IDBObjectStore.prototype.add = add);
    IDBObjectStore.prototype.add = () => {
        throw new DOMException("full", "QuotaExceededError");
    };
});

test("two tabs recording at once lose no landing and never share an experiment", async () => {
    const first = await open(browser, "?seed=11");
    const second = await open(browser, "?seed=12", undefined, first.context);
    for (const { page } of [first, second]) {
        await page.raw.bringToFront(); // a tab in the background takes no typing
        await answer(page, "10");
        await page.click("[data-name=start]");
    }
    await Promise.all([first, second].map(({ page }) => runStoring(page, 300_000)));
    const lines = await recordLines(first.page);
    const markers = (await shown(first.page)) + (await shown(second.page));
    const ends = lines.filter(([, , event]) => event === "end").length;
    assert.equal(lines.length, markers + ends);
    const experiments = [...new Set(lines.map(([experiment]) => experiment))];
    assert.deepEqual(experiments.sort(), [1, 2]);
    for (const experiment of experiments) {
        const trials = lines.filter(([e]) => e === experiment).map(([, trial]) => trial);
        assert.deepEqual(trials, trials.map((_, i) => i + 1), `experiment ${experiment}`);
    }
    assert.deepEqual([...first.problems, ...second.problems], []);
});

test("a landing the storage refuses stops the trials before its marker, and is written at the next start", async () => {
    const { page, problems } = await open(browser, "?seed=3");
    await answer(page, "10");
    await page.click("[data-name=start]");
    while ((await shown(page)) === 0) {
        await runStoring(page, 100);
    }
    await fillTheDisk(page);
    await runStoring(page, 20_000);
    assert.equal(await shown(page), 1, "no marker without its line");
    assert.match(await page.textContent("#notice"), /いっぱい.*止めました/);
    assert.deepEqual(await buttons(page), { quit: true, help: true, initialise: true, stop: false, start: true });
    assert.deepEqual(await recordLines(page), [[1, 1, "landing"]]);
    assert.deepEqual(linesOf((await saveRecord(page)).saved), [[1, 1, "landing"], [1, 2, "landing"]], "saved, the waiting landing is kept");
    await page.evaluate(() => window.__restore());
    await page.click("[data-name=start]");
    await runStoring(page, 6_000);
    assert.equal(await page.evaluate(() => document.getElementById("notice").hidden), true);
    const lines = await recordLines(page);
    assert.ok(lines.length >= 3, "the trials go on");
    assert.equal(await shown(page), lines.length);
    assert.deepEqual(lines, lines.map((_, i) => [1, i + 1, "landing"]));
    // The browser's data cleared meanwhile: the experiment is kept afresh, whole.
    await page.evaluate(() => new Promise((resolve) => {
        indexedDB.open("tanabashigo").onsuccess = ({ target }) => {
            const clearing = target.result.transaction("lines", "readwrite");
            clearing.objectStore("lines").clear();
            clearing.oncomplete = resolve;
        };
    }));
    await runStoring(page, 6_000);
    const afresh = await recordLines(page);
    assert.ok(afresh.length > lines.length);
    assert.equal(await shown(page), afresh.length);
    assert.deepEqual(afresh, afresh.map((_, i) => [1, i + 1, "landing"]));
    assert.deepEqual(problems, []);
});

test("授業モード: Enter, Space and → follow the shared table; questions and its own help hold the trials", async () => {
    const { page, problems } = await open(browser, "?seed=1&lesson&rungs=50");
    await page.waitForSelector(".lesson-canvas");
    await page.evaluate(() => window.addEventListener("keydown", (event) => (window.__took = event.defaultPrevented)));
    const keys = { enter: "Enter", space: " ", right: "ArrowRight" };
    let checked = 0;
    for (const row of lessonKeyTable().filter((r) => ["none", "theory"].includes(r.front) && r.focus !== "textfield")) {
        if ((row.front === "theory") !== ((await page.getAttribute("#theory", "aria-pressed")) === "true")) {
            await page.click("#theory");
        }
        // Paused, so that every key has something to do; then the focus on a control of the view in front.
        await page.evaluate(([front, focus]) => {
            const pause = document.querySelector("[data-action=pause]");
            if (pause.textContent !== "再開") {
                (pause.disabled ? document.querySelector("[data-action=step]") : pause).click();
            }
            document.activeElement?.blur();
            const scope = document.querySelector(front === "theory" ? ".theory" : ".lesson");
            const control = { button: "button:not(:disabled)", spinbox: "input[type=number]", slider: "input[type=range]", choice: "select" }[focus];
            const found = control ? [...scope.querySelectorAll(control)] : [scope];
            // Of the theory's buttons, its 実行.
            found.find((e) => front !== "theory" || focus !== "button" || e.textContent === "実行").focus();
        }, [row.front, row.focus]);
        await page.keyboard.press(keys[row.key]);
        assert.equal(await page.evaluate(() => window.__took), row.acts, JSON.stringify(row));
        await page.keyboard.press("Escape");
        await page.evaluate(() => [...document.querySelectorAll(".theory button")].find((b) => b.textContent === "中止" && !b.disabled)?.click());
        ++checked;
    }
    assert.equal(checked, 2 * 5 * 3);
    // Under 理論と実験 Tab never reaches the lesson's controls.
    await page.focus("#theory");
    for (let n = 0; n < 30; ++n) {
        await page.keyboard.press("Tab");
        assert.equal(await page.evaluate(() => !!document.activeElement.closest(".lesson")), false);
    }
    await page.click("#theory");
    const counts = () => page.getAttribute(".lesson-canvas", "data-counts");
    await page.click("[data-action=start]");
    while ((await counts()) === "0 0 0 0 0 0 0 0 0 0") {
        await runStoring(page, 1_000);
    }
    for (const [open, answer] of [["[data-action=initialise]", "dialog[open] >> text=いいえ"], ["[data-action=help]", "dialog[open] >> text=閉じる"]]) {
        await page.click(open);
        const landed = await counts();
        await runStoring(page, 10_000);
        assert.equal(await counts(), landed, `no trial lands behind ${open}`);
        if (open.includes("help")) {
            assert.equal(await page.textContent("dialog[open] .box-title"), "たなばしご　授業用のヘルプ");
            assert.match(await page.textContent("dialog[open] .help-text"), /Space：一時停止・再開.*［停止］/);
        }
        await page.click(answer);
        assert.equal(await page.textContent("[data-action=pause]"), "一時停止", `the trials go on after ${open}`);
    }
    assert.deepEqual(problems, []);
});

test("授業モード's 順番に starts trial k from line ((k - 1) mod 10) + 1, and the record says so", async () => {
    const { page, problems } = await open(browser, "?seed=7&lesson&rungs=10");
    await page.waitForSelector(".lesson-canvas");
    await page.selectOption(".lesson-choice", "1");
    await page.click("[data-action=start]");
    await runStoring(page, 60_000);
    const starts = (await recordText(page)).split("\n").slice(1).filter(Boolean).map((line) => Number(line.split(",")[4]));
    assert.ok(starts.length > 10 && (await page.evaluate(() => document.querySelector(".lesson-setting select").disabled)));
    assert.deepEqual(starts, starts.map((_, k) => (k % 10) + 1));
    assert.deepEqual(problems, []);
});

test("授業モード: the class's prediction, tapped in before the first trial, is kept ahead of its first landing", async () => {
    const { page, problems } = await open(browser, "?seed=3&lesson&rungs=10", { width: 1024, height: 768 });
    for (const [column, more] of [[3, true], [3, true], [3, true], [3, false], [8, true], [1, false]]) {
        await page.click(`[aria-label="${column} の列の予想を 1 人${more ? "ふやす" : "へらす"}"]`);
    }
    assert.equal(await page.getAttribute(".lesson-canvas", "data-hands"), "0 0 2 0 0 0 0 1 0 0");
    await page.keyboard.press("Enter"); // the taps left the keys with the lesson
    assert.equal(await page.$eval(".lesson-hands", (row) => row.hidden), true);
    await runStoring(page, 20_000);
    const lines = (await recordText(page)).split("\n").slice(1, 4).map((line) => line.split(",").slice(1).join(","));
    assert.deepEqual(lines.slice(0, 2), ["1,0,10,3,3,2,prediction", "1,0,10,3,8,1,prediction"]);
    assert.match(lines[2], /^1,1,10,3,\d+,1,landing$/);
    assert.deepEqual(problems, []);
});

test("授業モード too shows no marker before its line is stored", async () => {
    const { page, problems } = await open(browser, "?seed=3&lesson&rungs=10");
    const markers = async () => (await page.getAttribute(".lesson-canvas", "data-counts")).split(" ").map(Number)
        .reduce((a, b) => a + b, 0);
    await fillTheDisk(page);
    await page.click("[data-action=start]");
    await page.waitForFunction(async () => {
        await window.__runFor(200);
        return !document.getElementById("notice").hidden;
    });
    assert.match(await page.textContent("#notice"), /いっぱい.*一時停止しました/);
    assert.equal(await markers(), 0);
    assert.equal(await page.textContent("[data-action=pause]"), "再開");
    await page.evaluate(() => window.__restore());
    await page.click("[data-action=pause]");
    await runStoring(page, 3_000);
    const lines = await recordLines(page);
    assert.ok(lines.length >= 1);
    assert.equal(await markers(), lines.length);
    assert.deepEqual(lines, lines.map((_, i) => [1, i + 1, "landing"]));
    assert.deepEqual(problems, []);
});

test("a record kept by an older page is moved over with nothing lost, and the next experiment follows it", async () => {
    const header = "time,experiment,trial,rungs,start,column,count,event";
    const old = [header, "2026-12-01T09:00:00+09:00,1,1,10,3,4,1,landing", "2026-12-01T09:00:05+09:00,1,2,10,3,4,2,landing",
        "2026-12-01T09:10:00+09:00,2,1,12,3,7,1,landing", ""].join("\n");
    const { page, context } = await open(browser);
    await page.evaluate((text) => localStorage.setItem("tanabashigo.record", text), old);
    await page.reload();
    await page.waitForSelector("dialog[open]");
    assert.equal(await recordText(page), old);
    assert.equal(await page.evaluate(() => localStorage.getItem("tanabashigo.record")), null);
    // An older page still open in another tab keeps writing there: only what is new moves.
    const again = old.replace("\n2026-12-01T09:10", "\n2026-12-01T09:00:10+09:00,1,3,10,3,5,1,landing\n2026-12-01T09:10");
    const other = await open(browser, "", undefined, context);
    await other.page.evaluate((text) => localStorage.setItem("tanabashigo.record", text), again);
    await other.page.reload();
    await other.page.waitForSelector("dialog[open]");
    assert.deepEqual((await recordLines(page)).map(([e, t]) => `${e},${t}`), ["1,1", "1,2", "2,1", "3,1", "3,2", "3,3"]);
    await page.raw.bringToFront();
    await answer(page, "10");
    await page.click("[data-name=start]");
    await runStoring(page, 6_000);
    assert.deepEqual((await recordLines(page))[6], [4, 1, "landing"]);
});

test("a killed browser loses no landing whose marker it showed", async () => {
    const profile = mkdtempSync(join(tmpdir(), "tanabashigo-profile-"));
    const killed = await launch({ userDataDir: profile });
    const { page } = await open(killed, "?seed=5", undefined, killed.defaultBrowserContext());
    await answer(page, "10");
    await page.click("[data-name=start]");
    while ((await shown(page)) < 4) {
        await runStoring(page, 500);
    }
    const markers = await shown(page);
    killed.process().kill("SIGKILL"); // a power cut
    await new Promise((resolve) => killed.process().once("exit", resolve));
    const restarted = await launch({ userDataDir: profile });
    try {
        const { page: again } = await open(restarted, "", undefined, restarted.defaultBrowserContext());
        const lines = await recordLines(again);
        assert.deepEqual(lines.slice(0, markers), Array.from({ length: markers }, (_, i) => [1, i + 1, "landing"]));
    } finally {
        await restarted.close();
    }
});
