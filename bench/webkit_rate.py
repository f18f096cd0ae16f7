#!/usr/bin/python3
"""The page's workers in WebKit (WebKitGTK, the engine of iPad Safari): trials per second of
the engine's own simulation and of the one built with WebAssembly SIMD, one worker at a time,
at 10, 30, 50, 100 and 225 rungs, the median of interleaved rounds. The time is the worker's
own wall clock, so run it on a quiet machine.

    xvfb-run -a bench/webkit_rate.py PAGE.html [ROUNDS]
"""
import json
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

# One worker per engine the page holds; each runs the blocks one call at a time, as the
# page's workers do, after a warm-up run.
MEASURE = """
await new Promise((r) => { const wait = () => document.body.dataset.ready === "true" ? r() : setTimeout(wait, 50); wait(); });
const harness = `
const ready = createEngine();
onmessage = async ({ data }) => {
    const engine = await ready;
    const run = (trials, seed) => {
        const begin = performance.now();
        for (let block = 0; block * 65536 < trials; ++block) {
            engine.simulateBlocks(data.rungs, 3, seed, block, 1, trials);
        }
        return trials / ((performance.now() - begin) / 1000);
    };
    run(1 << 20, 99);
    postMessage(run(data.trials, data.seed));
};`;
const workers = {};
for (const [name, id] of [["engine", "engine-script"], ["SIMD", "simulation-script"]]) {
    const text = document.getElementById(id)?.textContent ?? "";
    if (text !== "") workers[name] = new Worker(URL.createObjectURL(new Blob([text, harness])));
}
const ask = (worker, request) => new Promise((done) => { worker.onmessage = (e) => done(e.data); worker.postMessage(request); });
const rates = {};
for (const rungs of [10, 30, 50, 100, 225]) {
    const trials = (rungs === 225 ? 4096 : 256) * 65536; // about a second each
    rates[rungs] = Object.fromEntries(Object.keys(workers).map((name) => [name, []]));
    for (let round = 1; round <= rounds; ++round) {
        for (const [name, worker] of Object.entries(workers)) {
            rates[rungs][name].push(await ask(worker, { rungs, trials, seed: round }));
        }
    }
}
return JSON.stringify({ simd: WebAssembly.validate(new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10, 8, 1, 6, 0, 65, 0, 253, 15, 11])), rates });
"""


def median(values):
    return sorted(values)[len(values) // 2]


def main():
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    view = WebKit2.WebView()
    view.get_settings().set_allow_file_access_from_file_urls(True)
    window = Gtk.Window()
    window.add(view)
    window.show_all()
    outcome = {}

    def done(source, result):
        try:
            outcome["result"] = view.call_async_javascript_function_finish(result).to_string()
        except GLib.Error as error:
            outcome["error"] = str(error)
        Gtk.main_quit()

    def loaded(source, event):
        if event == WebKit2.LoadEvent.FINISHED:
            arguments = GLib.Variant("a{sv}", {"rounds": GLib.Variant("i", rounds)})
            view.call_async_javascript_function(MEASURE, -1, arguments, None, None, None, done)

    view.connect("load-changed", loaded)
    view.load_uri("file://" + sys.argv[1])
    Gtk.main()
    if "error" in outcome:
        print("webkit: " + outcome["error"], file=sys.stderr)
        return 1
    result = json.loads(outcome["result"])
    print(f"WebKit, one worker, median of {rounds} interleaved rounds; "
          f"WebAssembly SIMD {'validates' if result['simd'] else 'does not validate'}.\n")
    names = list(next(iter(result["rates"].values())).keys())
    print("| rungs | " + " | ".join(f"page, {n}" for n in names) + " | SIMD / engine |")
    print("|---|" + "---|" * len(names) + "---|")
    for rungs, by_name in result["rates"].items():
        rates = [median(by_name[n]) for n in names]
        ratio = f"{rates[-1] / rates[0]:.2f}" if len(rates) > 1 else ""
        print(f"| {rungs} | " + " | ".join(f"{r / 1e6:.1f} M/s" for r in rates) + f" | {ratio} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
