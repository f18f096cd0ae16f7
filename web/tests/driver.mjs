// A small page API over puppeteer-core, in the style the browser tests are written in, with a
// fake clock the test moves. puppeteer-core runs on Node 18, Debian 12's own.

import { build } from "esbuild";
import { copyFileSync, mkdtempSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

const here = dirname(fileURLToPath(import.meta.url));
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

/** The fake-timers library as one script that installs `window.__clock` at `start`. */
let clockScript;
async function clockSource(start) {
    clockScript ??= (
        await build({
            stdin: {
                contents: `import { withGlobal } from "@sinonjs/fake-timers";
                    globalThis.__installClock = (now) => { globalThis.__clock = withGlobal(globalThis).install({ now,
                        toFake: ["setTimeout", "clearTimeout", "setInterval", "clearInterval", "Date",
                            "requestAnimationFrame", "cancelAnimationFrame", "performance",
                            "requestIdleCallback", "cancelIdleCallback"] }); };
                    const channel = new MessageChannel();
                    const nextTask = () => new Promise((resolve) => {
                        channel.port1.onmessage = () => resolve();
                        channel.port2.postMessage(0);
                    });
                    // One frame at a time, with a real task between frames, so promises and
                    // events settle as they would between frames, without the 4 ms clamp of a
                    // nested setTimeout.
                    globalThis.__runFor = async (span) => {
                        for (let left = span; left > 0; left -= 16) {
                            globalThis.__clock.tick(Math.min(16, left));
                            await nextTask();
                        }
                    };`,
                resolveDir: here,
            },
            bundle: true,
            format: "iife",
            write: false,
            platform: "browser",
            external: ["util"],
        })
    ).outputFiles[0].text;
    return `${clockScript};__installClock(${start.getTime()});`;
}

/** Playwright's selector forms this suite uses: `a >> text=b`, `text=b`, `a >> nth=1`. */
async function locateAll(page, selector) {
    let found = [await page.$(":root")];
    for (const part of selector.split(" >> ")) {
        const nth = /^nth=(\d+)$/.exec(part);
        if (nth) {
            found = found.slice(Number(nth[1]), Number(nth[1]) + 1);
            continue;
        }
        const text = /^text=(.*)$/.exec(part);
        const css = text ? `::-p-text(${JSON.stringify(text[1])})` : part;
        const next = [];
        for (const scope of found) {
            next.push(...(await scope.$$(css)));
        }
        found = next;
    }
    return found;
}

async function waitFor(what, timeout, check) {
    const until = Date.now() + timeout;
    for (;;) {
        const result = await check();
        if (result) {
            return result;
        }
        if (Date.now() > until) {
            throw new Error(`timed out after ${timeout} ms waiting for ${what}`);
        }
        await sleep(25);
    }
}

/** Downloads of one browser context land in a folder of their own, announced by CDP. */
async function watchDownloads(browser, context) {
    const folder = mkdtempSync(join(tmpdir(), "tanabashigo-downloads-"));
    const session = await browser.target().createCDPSession();
    await session.send("Browser.setDownloadBehavior", {
        behavior: "allowAndName",
        browserContextId: context.id,
        downloadPath: folder,
        eventsEnabled: true,
    });
    const waiting = [];
    session.on("Browser.downloadProgress", (event) => {
        if (event.state !== "completed") {
            return;
        }
        const path = join(folder, event.guid);
        const download = {
            path: async () => path,
            saveAs: async (target) => copyFileSync(path, target),
        };
        waiting.shift()?.(download);
    });
    return () => new Promise((resolve) => waiting.push(resolve));
}

/** The test's page: the methods the suite uses, and `raw`, the puppeteer page itself. */
function wrap(page, nextDownload) {
    const first = (selector, timeout = 30_000) =>
        waitFor(selector, timeout, async () => (await locateAll(page, selector))[0]);
    const property = (name) => async (selector) => (await first(selector)).evaluate((e, n) => e[n], name);
    return {
        raw: page,
        keyboard: page.keyboard,
        clock: {
            runFor: (ms) => page.evaluate((span) => globalThis.__runFor(span), ms),
        },
        on: (event, handler) => page.on(event, handler),
        evaluate: (fn, arg) => page.evaluate(fn, arg),
        $: (selector) => page.$(selector),
        $$: (selector) => page.$$(selector),
        $eval: (selector, fn, arg) => page.$eval(selector, fn, arg),
        $$eval: (selector, fn, arg) => page.$$eval(selector, fn, arg),
        title: () => page.title(),
        reload: () => page.reload(),
        click: async (selector) => (await first(selector)).click(),
        focus: async (selector) => (await first(selector)).focus(),
        fill: async (selector, text) => {
            const field = await first(selector);
            await field.evaluate((e) => e.select?.());
            await field.evaluate((e) => (e.value = ""));
            await field.type(text);
        },
        textContent: property("textContent"),
        inputValue: property("value"),
        isEnabled: async (selector) => !(await property("disabled")(selector)),
        getAttribute: async (selector, name) => (await first(selector)).evaluate((e, n) => e.getAttribute(n), name),
        dispatchEvent: async (selector, type) =>
            (await first(selector)).evaluate((e, t) => e.dispatchEvent(new Event(t, { bubbles: true })), type),
        selectOption: async (selector, value) => {
            await (await first(selector)).select(value);
        },
        setInputFiles: async (selector, files) => {
            const folder = mkdtempSync(join(tmpdir(), "tanabashigo-upload-"));
            const paths = files.map(({ name, buffer }) => {
                writeFileSync(join(folder, name), buffer);
                return join(folder, name);
            });
            await (await first(selector)).uploadFile(...paths);
        },
        waitForSelector: (selector, options = {}) => first(selector, options.timeout),
        waitForFunction: (fn, arg, options = {}) =>
            waitFor("a condition", options.timeout ?? 30_000, () => page.evaluate(fn, arg)),
        waitForEvent: (event) => {
            if (event !== "download") {
                throw new Error(`no such event here: ${event}`);
            }
            return nextDownload();
        },
    };
}

/** Chromium; `options` may add puppeteer's launch options, such as a userDataDir, and
 * further switches in `args`. */
export function launch(options = {}) {
    return puppeteer.launch({
        ...options,
        executablePath: process.env.TANABASHIGO_CHROMIUM || "/usr/bin/chromium",
        headless: true,
        args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
            "--disable-sync", "--no-first-run", "--disable-quic", ...(options.args ?? [])],
    });
}

/**
 * A new private context and page at `viewport` (which may also say hasTouch, isMobile and
 * deviceScaleFactor), Tokyo's time zone, the clock faked from `start` and frozen until the
 * test moves it. Given a `context`, the page opens there instead: another tab of the same
 * storage, or the browser's own context, kept on disk.
 */
export async function newPage(browser, viewport, start, context = null) {
    context ??= await browser.createBrowserContext();
    const nextDownload = await watchDownloads(browser, context);
    const page = await context.newPage();
    await page.setViewport({ deviceScaleFactor: 1, ...viewport });
    await page.emulateTimezone("Asia/Tokyo");
    await page.evaluateOnNewDocument(await clockSource(start));
    return { page: wrap(page, nextDownload), context };
}
