// The help window: the question put to the class and how to work the experiment window.

import type { WindowTexts } from "./engine";
import { child, place } from "./twips";

export const HELP_WIDTH = 9255 / 15;
export const HELP_HEIGHT = 4455 / 15;

export interface HelpForm {
    root: HTMLElement;
    close: HTMLButtonElement;
}

/** Builds the help window inside `parent`, its text printed once. */
export function createHelpForm(parent: HTMLElement, texts: WindowTexts): HelpForm {
    const root = child(parent, "div", "form form2");
    place(root, 0, 0, 9255, 4455);
    const close = child(root, "button", "command", texts.close);
    place(close, 8400, 0, 735, 375);
    close.setAttribute("aria-label", "ヘルプを閉じる");
    const rule = child(root, "div", "rule");
    place(rule, 120, 360, 9000, 15);
    const box = child(root, "div", "help-text sunken");
    place(box, 120, 480, 9015, 3855);
    box.setAttribute("aria-label", "設問と操作方法");
    for (const line of texts.helpLines) {
        child(box, "div", "help-line", line || "\u00a0");
    }
    return { root, close };
}
