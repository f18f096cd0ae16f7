#!/usr/bin/python3
"""The page in WebKit, the engine of iPad Safari, through WebKitGTK: it loads from disk,
starts an experiment, sees a landing, and raises no script error.

    webkit_smoke.py PAGE.html      (under an X server, e.g. xvfb-run)
"""
import sys

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import GLib, Gtk, WebKit2  # noqa: E402

# Errors are kept from the first script on, before the page's own scripts run.
CATCH_ERRORS = """
window.__problems = [];
addEventListener("error", (e) => __problems.push(String(e.message)));
addEventListener("unhandledrejection", (e) => __problems.push(String(e.reason)));
"""

# What a pupil does, each step once the page is ready for it; the errors seen on the way.
PUPIL = """
const until = async (ready) => { while (!ready()) await new Promise((r) => setTimeout(r, 100)); };
await until(() => document.body.dataset.ready === "true" && document.querySelector("dialog[open] input"));
document.querySelector("dialog[open] input").value = "10";
[...document.querySelectorAll("dialog[open] button")].find((b) => b.textContent === "OK").click();
await until(() => !document.querySelector("[data-name=start]").disabled);
document.querySelector("[data-name=start]").click();
await until(() => [...document.querySelectorAll(".form1 .red-box")].slice(1).some((b) => !b.hidden));
return JSON.stringify(window.__problems);
"""


def main():
    manager = WebKit2.UserContentManager()
    manager.add_script(WebKit2.UserScript.new(
        CATCH_ERRORS, WebKit2.UserContentInjectedFrames.TOP_FRAME,
        WebKit2.UserScriptInjectionTime.START, None, None))
    view = WebKit2.WebView.new_with_user_content_manager(manager)
    view.get_settings().set_allow_file_access_from_file_urls(True)
    window = Gtk.Window()
    window.set_default_size(1024, 768)
    window.add(view)
    window.show_all()
    outcome = {"result": "timed out"}

    def finish(result):
        outcome["result"] = result
        Gtk.main_quit()

    def done(source, result):
        try:
            finish(view.call_async_javascript_function_finish(result).to_string())
        except GLib.Error as error:
            finish(str(error))

    def loaded(source, event):
        if event == WebKit2.LoadEvent.FINISHED:
            view.call_async_javascript_function(PUPIL, -1, None, None, None, None, done)

    view.connect("load-changed", loaded)
    view.load_uri("file://" + sys.argv[1] + "?seed=1")
    GLib.timeout_add_seconds(60, lambda: finish("timed out"))
    Gtk.main()
    if outcome["result"] != "[]":
        print("webkit: " + str(outcome["result"]), file=sys.stderr)
        return 1
    print("webkit: the page loaded, started and landed without a script error")
    return 0


if __name__ == "__main__":
    sys.exit(main())
