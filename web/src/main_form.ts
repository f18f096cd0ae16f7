// The experiment window as it stands when loaded: every control at its place in twips.

import { constants } from "./constants";
import type { WindowTexts } from "./engine";
import { Surface } from "./surface";
import { tallyTable } from "./spoken";
import { child, growTouchArea, place, touchSpan } from "./twips";

export const FORM_WIDTH = 9870 / 15;
export const FORM_HEIGHT = 8535 / 15;


export interface MainForm {
    root: HTMLElement;
    quit: HTMLButtonElement;
    help: HTMLButtonElement;
    initialise: HTMLButtonElement;
    stop: HTMLButtonElement;
    start: HTMLButtonElement;
    rungNumber: HTMLElement;
    surface: Surface;
    /** markers[k - 1][i - 1] is marker i of column k, 1 the lowest. */
    markers: HTMLElement[][];
    /** The count cells of the hidden tally table, column 1 first. */
    tally: HTMLTableCellElement[];
}

function button(parent: HTMLElement, caption: string, rect: number[], bold: boolean, name: string): HTMLButtonElement {
    const element = child(parent, "button", bold ? "command bold" : "command", caption);
    place(element, rect[0], rect[1], rect[2], rect[3]);
    element.dataset.name = name;
    return element;
}

function redBox(parent: HTMLElement, left: number, top: number): HTMLElement {
    const box = child(parent, "div", "red-box");
    const size = constants().markers.box;
    place(box, left, top, size, size);
    return box;
}

/** Builds the window inside `parent`. */
export function createMainForm(parent: HTMLElement, texts: WindowTexts): MainForm {
    const root = child(parent, "div", "form form1");
    place(root, 0, 0, 9870, 8535);
    const heading = child(root, "div", "heading", texts.heading);
    place(heading, 2640, 0, 4695, 375);
    heading.setAttribute("role", "heading");
    heading.setAttribute("aria-level", "1");
    const rule = child(root, "div", "rule");
    place(rule, 0, 360, 9840, 15);
    rule.style.zIndex = "2";

    // The buttons stand in the order the focus moves through them; where boxes meet, the
    // later one of the window's own order is drawn on top.
    const picture = child(root, "div", "picture sunken");
    place(picture, 120, 600, 9615, 6855);
    picture.tabIndex = 0;
    picture.setAttribute("role", "group");
    picture.setAttribute("aria-label", "たなばしごと着地の印");
    const surface = new Surface(picture, 9555 / 15, 6795 / 15);
    surface.canvas.setAttribute("role", "img");
    surface.canvas.setAttribute("aria-label", "たなばしご");
    const layout = constants().markers;
    // The start mark takes the focus after the start button: see followTabOrder.
    const startMark = redBox(picture, layout.startLeft, layout.startTop);
    startMark.tabIndex = -1;
    startMark.setAttribute("role", "img");
    startMark.setAttribute("aria-label", "スタートの印（3本目の線）");
    const markers = layout.columnLeft.map((left) =>
        Array.from({ length: constants().columnCapacity }, (_, i) => {
            const marker = redBox(picture, left, layout.lowestTop - layout.pitch * i);
            marker.hidden = true;
            return marker;
        }),
    );
    const start = button(root, texts.start, [5400, 7680, 3375, 615], true, "start");
    const quit = button(root, texts.quit, [0, 0, 855, 375], false, "quit");
    const initialise = button(root, texts.initialise, [9000, 0, 855, 375], false, "initialise");
    initialise.disabled = true;
    const stop = button(root, texts.stop, [1080, 7680, 3375, 615], true, "stop");
    const help = button(root, texts.help, [8160, 0, 855, 375], false, "help");
    initialise.style.zIndex = "1";

    const rungLabel = child(root, "div", "rung-number");
    place(rungLabel, 120, 8280, 375, 255);
    child(rungLabel, "span", "visually-hidden", "作っている横線の番号 ");
    const rungNumber = child(rungLabel, "span", "");
    const tally = tallyTable(root);
    followTabOrder(root, [picture, start, startMark, quit, initialise, stop, help]);
    return { root, quit, help, initialise, stop, start, rungNumber, surface, markers, tally };
}

/**
 * Moves the focus with Tab and Shift+Tab through `order`, skipping what is disabled or
 * hidden; past either end the browser carries the focus on out of the window.
 */
function followTabOrder(root: HTMLElement, order: HTMLElement[]): void {
    root.addEventListener("keydown", (event) => {
        if (event.key !== "Tab" || event.altKey || event.ctrlKey || event.metaKey) {
            return;
        }
        const open = order.filter((element) => !(element as HTMLButtonElement).disabled && !element.hidden);
        const next = open[open.indexOf(document.activeElement as HTMLElement) + (event.shiftKey ? -1 : 1)];
        if (open.includes(document.activeElement as HTMLElement) && next) {
            event.preventDefault();
            next.focus();
        }
    });
}

/**
 * Where each button's touch area may reach, in twips: [left, top, right, bottom]. The buttons
 * of the top row may reach 5 px into the picture's blank top edge, which takes no touch, so
 * that they are 44 px tall even in a window drawn unscaled.
 */
const TOUCH_ROOM: Record<string, number[]> = {
    quit: [0, 0, 2640, 675],
    help: [7335, 0, 9000, 675],
    initialise: [9000, 0, 9870, 675],
    stop: [495, 7455, 5400, 8535],
    start: [4455, 7455, 9870, 8535],
};

/**
 * Grows each button's touch area around it to `TOUCH_SIZE` CSS pixels once the window is
 * drawn at `scale`, as far as its room lets it: the buttons themselves stay where they are.
 */
export function growTouchAreas(form: MainForm, scale: number): void {
    for (const button of [form.quit, form.help, form.initialise, form.stop, form.start]) {
        const own = [button.offsetLeft, button.offsetTop, button.offsetWidth, button.offsetHeight];
        const room = TOUCH_ROOM[button.dataset.name!].map((twips) => twips / 15);
        growTouchArea(button, own, room, touchSpan(scale));
    }
}
