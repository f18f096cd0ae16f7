// The page in Chromium, opened from disk as a teacher would open it from a USB stick.

import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { readFileSync, mkdtempSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, before, test } from "node:test";
import { answer, buttons, launch, open, seededExperiments, tally } from "./browser.mjs";

let browser;
before(async () => (browser = await launch()));
after(() => browser?.close());

const recordText = (page) => page.evaluate(() => localStorage.getItem("tanabashigo.record") ?? "");

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

test("a seed builds the desktop's first ladders", async () => {
    const pinned = {
        1: "5:48 4:17 10:23 10:33 3:54 3:58 9:32 9:56 5:22 2:15",
        2026: "6:31 2:49 6:43 10:35 5:52 4:21 5:48 7:46 3:12 4:47",
        4294967295: "5:46 5:24 9:56 6:51 5:48 8:27 8:51 3:28 5:40 7:34",
    };
    for (const [seed, rungs] of Object.entries(pinned)) {
        const { page } = await open(browser, `?seed=${seed}`);
        await answer(page, "10");
        await page.click("[data-name=start]");
        await page.clock.runFor(200);
        assert.equal(await page.getAttribute("canvas", "data-rungs"), rungs, `seed ${seed}`);
    }
});

test("a whole seeded experiment ends on the desktop's trial, column and tally", async () => {
    for (const expected of seededExperiments().filter((e) => e.seed === 1)) {
        const { page, problems } = await open(browser, `?seed=${expected.seed}`);
        await answer(page, String(expected.rungs));
        await page.click("[data-name=start]");
        for (let s = 0; s < expected.trials * 5 + 5; s += 50) {
            await page.clock.runFor(50_000);
        }
        assert.deepEqual(await tally(page), expected.tally);
        assert.deepEqual(await buttons(page), { quit: true, help: true, initialise: true, stop: false, start: false });
        const last = (await recordText(page)).trim().split("\n").at(-1).split(",");
        assert.deepEqual(last.slice(2), [String(expected.trials), String(expected.rungs), "3",
            String(expected.endingColumn), "20", "end"]);
        assert.deepEqual(problems, []);
    }
});

test("HELP shows the question and comes back to a fresh window; 初期化 and 終了", async () => {
    const { page, problems } = await open(browser, "?seed=7");
    await answer(page, "10");
    await page.click("[data-name=start]");
    await page.clock.runFor(12_000);
    await page.click("[data-name=stop]");
    assert.ok((await tally(page)).reduce((a, b) => a + b) >= 3);
    await page.click("[data-name=initialise]");
    assert.deepEqual(await tally(page), Array(10).fill(0));
    await answer(page, "20");
    await page.click("[data-name=start]");
    await page.clock.runFor(6_000);
    await page.click("[data-name=stop]");
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
    await page.clock.runFor(12_000);
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
    await page.clock.runFor(1_000);
    const [download] = await Promise.all([page.waitForEvent("download"), page.click("#save-record")]);
    const file = join(mkdtempSync(join(tmpdir(), "tanabashigo-")), "record.csv");
    await download.saveAs(file);
    const saved = readFileSync(file, "utf8");
    assert.equal(saved, await recordText(page));
    assert.match(saved.split("\n")[4], /,2,1,10,3,\d+,1,landing$/);
    if (process.env.TANABASHIGO_EXECUTABLE) {
        const report = execFileSync(process.env.TANABASHIGO_EXECUTABLE, ["--compare", file], { encoding: "utf8" });
        assert.match(report, /10 rungs from line 3, 4 landings/);
    }
    assert.deepEqual(problems, []);
});

test("the window fits each school screen", async () => {
    for (const viewport of [{ width: 1366, height: 768 }, { width: 1024, height: 768 }, { width: 768, height: 1024 }]) {
        const { page } = await open(browser, "", viewport);
        const box = await (await page.$(".form1")).boundingBox();
        assert.ok(box.x >= 0 && box.y >= 0, JSON.stringify(box));
        assert.ok(box.x + box.width <= viewport.width + 1 && box.y + box.height <= viewport.height + 1,
            JSON.stringify({ viewport, box }));
        assert.ok(box.width >= viewport.width * 0.6 || box.height >= (viewport.height - 50) * 0.95);
    }
});

test("授業モード: pause holds every pixel, → moves exactly one step, controls are touch-sized", async () => {
    const { page, problems } = await open(browser, "?seed=1&lesson&rungs=50", { width: 768, height: 1024 });
    await page.waitForSelector(".lesson-canvas");
    for (const box of await page.$$(".lesson-button, .lesson-setting input, .lesson-setting select")) {
        const { width, height } = await box.boundingBox();
        assert.ok(width >= 44 && height >= 44, `${width}×${height}`);
    }
    const picture = () => page.$eval(".lesson-canvas", (c) => ({ ...c.dataset, pixels: c.toDataURL() }));
    await page.keyboard.press("Enter");
    await page.clock.runFor(5_000);
    await page.keyboard.press(" ");
    const paused = await picture();
    assert.ok(Number(paused.rungs) > 0);
    await page.clock.runFor(10_000);
    assert.deepEqual(await picture(), paused);
    for (let n = 0; n < 60; ++n) {
        const before = await picture();
        await page.keyboard.press("ArrowRight");
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

test("address options the command line would refuse are refused on the page, with the engine's ranges", async () => {
    const cases = [
        ["?lesson&rungs=99999", /\?rungs の値「99999」は 0〜225 の整数/],
        ["?rungs=-1", /\?rungs は授業モード/],
        ["?seed=-1", /\?seed の値「-1」は 0〜4294967295 の整数/],
        ["?lesson&start=11", /\?start の値「11」は 1〜10 の整数/],
        ["?lesson&rungs=225&start=10", null],
    ];
    for (const [query, refusal] of cases) {
        const { page, problems } = await open(browser, query);
        const shown = await page.$$eval(".address-refused li", (items) => items.map((item) => item.textContent));
        if (refusal) {
            assert.equal(shown.length, 1, query);
            assert.match(shown[0], refusal, query);
            assert.equal(await page.$$eval(".form1, .lesson, dialog[open]", (all) => all.length), 0, "nothing starts");
        } else {
            assert.deepEqual(shown, [], query);
            await page.waitForSelector(".lesson-canvas");
            assert.equal(await page.inputValue(".lesson-setting input[type=number]"), "225");
            assert.equal(await page.inputValue(".lesson-setting select"), "10");
        }
        assert.deepEqual(problems, [], query);
    }
});
