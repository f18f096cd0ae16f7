// The help window: the question put to the class and how to work the experiment window.

import type { WindowTexts } from "./engine";
import { hiddenHeading } from "./spoken";
import { child, growTouchArea, place, touchSpan } from "./twips";

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
    hiddenHeading(root, 1, texts.helpTitle);
    const rule = child(root, "div", "rule");
    place(rule, 120, 360, 9000, 15);
    // The close button's touch area reaches over the text; the rule stays drawn over both.
    close.style.zIndex = "1";
    rule.style.zIndex = "2";
    const box = child(root, "div", "help-text sunken");
    place(box, 120, 480, 9015, 3855);
    box.setAttribute("role", "region");
    box.setAttribute("aria-label", "設問と操作方法");
    fillHelpLines(box, texts.helpLines);
    return { root, close, rule, box };
}

/** Prints the help lines into `box`; a line in 【】 heads what follows it. */
export function fillHelpLines(box: HTMLElement, lines: string[]): void {
    for (const line of lines) {
        const element = child(box, "div", "help-line", line || "\u00a0");
        if (line.trim().startsWith("【")) {
            element.setAttribute("role", "heading");
            element.setAttribute("aria-level", "2");
        }
    }
}

/** Grows the close button's touch area down and left over the text, which takes no touch. */
export function growCloseArea(help: HelpForm, scale: number): void {
    const close = help.close;
    const own = [close.offsetLeft, close.offsetTop, close.offsetWidth, close.offsetHeight];
    growTouchArea(close, own, [0, 0, help.root.offsetWidth, help.root.offsetHeight], touchSpan(scale));
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
