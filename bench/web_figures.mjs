// Figures of the browser edition in headless Chromium, on the real clock: time until the page
// answers, memory, frame lengths while an experiment runs, and the cadence of a 50-rung trial
// against the ideal of one tick every 3 ms.
//   node bench/web_figures.mjs build-web/tanabashigo.html

import { launch } from "../web/tests/driver.mjs";
import { resolve } from "node:path";

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

const page_ = resolve(process.argv[2] ?? "build-web/tanabashigo.html");
const browser = await launch({ args: ["--enable-precise-memory-info"] });
const page = await browser.newPage();
await page.setViewport({ width: 1366, height: 768 });
// When the prompt is on screen, on the page's own clock (from the start of navigation).
await page.evaluateOnNewDocument(() => {
    new MutationObserver(() => {
        window.__prompt ??= document.querySelector("dialog[open]") ? performance.now() : undefined;
    }).observe(document, { subtree: true, childList: true, attributes: true });
});
await page.goto(`file://${page_}?seed=1`);
await page.waitForSelector("dialog[open] input");
const interactiveMs = await page.evaluate(() => window.__prompt);
const domInteractive = await page.evaluate(() => performance.getEntriesByType("navigation")[0].domInteractive);

await page.evaluate(() => {
    window.__frames = [];
    window.__landings = [];
    const frame = (t) => {
        window.__frames.push(t);
        requestAnimationFrame(frame);
    };
    requestAnimationFrame(frame);
    new MutationObserver(() => {
        const shown = [...document.querySelectorAll(".form1 .red-box")].filter((b) => !b.hidden).length;
        if (shown - 1 > window.__landings.length) window.__landings.push(performance.now());
    }).observe(document.body, { attributes: true, subtree: true, attributeFilter: ["hidden"] });
});
await page.$eval("dialog[open] input", (field) => (field.value = ""));
await page.type("dialog[open] input", "50");
await page.click("dialog[open] ::-p-text(OK)");
const startedAt = await page.evaluate(() => {
    document.querySelector("[data-name=start]").click();
    return performance.now();
});
await sleep(30_000);
const figures = await page.evaluate((startedAt) => {
    const gaps = window.__frames.slice(1).map((t, n) => t - window.__frames[n]);
    return {
        firstLandingMs: window.__landings[0] - startedAt,
        landings: window.__landings.length,
        frames: gaps.length,
        longestFrameMs: Math.max(...gaps),
        framesOver50Ms: gaps.filter((g) => g > 50).length,
        heapMB: performance.memory ? performance.memory.usedJSHeapSize / 2 ** 20 : null,
    };
}, startedAt);
const client = await page.createCDPSession();
await client.send("Performance.enable");
const { metrics } = await client.send("Performance.getMetrics");
const metric = (name) => metrics.find((m) => m.name === name)?.value ?? 0;
const { usedJSHeapSize } = await client.send("Runtime.getHeapUsage").catch(() => ({}));
console.log(JSON.stringify({
    interactiveMs,
    domInteractive,
    ...figures,
    jsHeapUsedMB: metric("JSHeapUsedSize") / 2 ** 20,
    jsHeapTotalMB: metric("JSHeapTotalSize") / 2 ** 20,
    runtimeHeapMB: (usedJSHeapSize ?? 0) / 2 ** 20,
}, null, 1));
await browser.close();

// The sampler on one core: 10,000,000 trials at 50 rungs, in the page's engine.
const sampler = await launch();
const samplerPage = await sampler.newPage();
await samplerPage.goto(`file://${page_}`);
await samplerPage.waitForSelector("body[data-ready=true]");
const perCore = await samplerPage.evaluate(async () => {
    const engine = await createEngine();
    const trials = 10_000_000;
    const started = performance.now();
    engine.simulateBlocks(50, 3, 7, 0, Math.ceil(trials / engine.trialsPerBlock()), trials);
    return trials / ((performance.now() - started) / 1000) / 1e6;
});
console.log(`sampler, one core in the page: ${perCore.toFixed(1)} M trials/s at 50 rungs`);
await sampler.close();
