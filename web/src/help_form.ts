// The help window: the question put to the class and how to work the experiment window.

import type { WindowTexts } from "./engine";
import { child, place } from "./twips";

export const HELP_WIDTH = 9255 / 15;
export const HELP_HEIGHT = 4455 / 15;

export interface HelpForm {
    root: HTMLElement;
    close: HTMLButtonElement;
    rule: HTMLElement;
    box: HTMLElement;
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
    return { root, close, rule, box };
}

/**
 * Widens the window, once it is on the page, so that the longest help line shows whole with
 * a pixel clear of the edge; answers the window's width.
 */
export function widenForTheLongestLine(help: HelpForm): number {
    const longest = Math.max(...Array.from(help.box.children, (line) => (line as HTMLElement).scrollWidth));
    const extra = Math.ceil(longest + 1 - help.box.clientWidth);
    if (extra > 0) {
        for (const element of [help.root, help.rule, help.box]) {
            element.style.width = `${parseFloat(element.style.width) + extra}px`;
        }
        help.close.style.left = `${parseFloat(help.close.style.left) + extra}px`;
    }
    return HELP_WIDTH + Math.max(0, extra);
}
