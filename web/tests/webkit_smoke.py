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

STEPS = [
    # (what to wait for, what to do then)
    ("document.body.dataset.ready === 'true' && !!document.querySelector('dialog[open] input')",
     "document.querySelector('dialog[open] input').value = '10';"
     "[...document.querySelectorAll('dialog[open] button')].find(b => b.textContent === 'OK').click();"),
    ("!document.querySelector('[data-name=start]').disabled",
     "document.querySelector('[data-name=start]').click();"),
    ("[...document.querySelectorAll('.form1 .red-box')].slice(1).some(b => !b.hidden)", ""),
]


def main():
    page = sys.argv[1]
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
    view.load_uri("file://" + page + "?seed=1")

    outcome = {"step": 0, "result": None, "busy": False}

    def evaluate(script, then):
        def done(source, result):
            try:
                value = view.evaluate_javascript_finish(result)
                then(value.to_boolean() if value.is_boolean() else value.to_string())
            except GLib.Error as error:
                then(None, str(error))
        view.evaluate_javascript(script, -1, None, None, None, done)

    def finish(result):
        outcome["result"] = result
        Gtk.main_quit()

    def poll():
        if outcome["step"] == len(STEPS):
            evaluate("JSON.stringify(window.__problems)", lambda problems, *_: finish(problems))
            return False
        if outcome["busy"]:
            return True
        condition, action = STEPS[outcome["step"]]
        outcome["busy"] = True

        def done(*_):
            outcome["busy"] = False

        def checked(ready, *error):
            if ready is True:
                outcome["step"] += 1
                if action:
                    evaluate(action + "true", done)
                    return
            done()
        evaluate(condition, checked)
        return True

    GLib.timeout_add(100, poll)
    GLib.timeout_add_seconds(60, lambda: finish("timed out at step %d" % outcome["step"]))
    Gtk.main()
    if outcome["result"] != "[]":
        print("webkit: " + str(outcome["result"]), file=sys.stderr)
        return 1
    print("webkit: the page loaded, started and landed without a script error")
    return 0


if __name__ == "__main__":
    sys.exit(main())
