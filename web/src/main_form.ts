// The experiment window as it stands when loaded: every control at its place in twips.

import { constants } from "./constants";
import type { WindowTexts } from "./engine";
import { Surface } from "./surface";
import { child, place } from "./twips";

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
    const quit = button(root, texts.quit, [0, 0, 855, 375], false, "quit");
    const heading = child(root, "div", "heading", texts.heading);
    place(heading, 2640, 0, 4695, 375);
    const help = button(root, texts.help, [8160, 0, 855, 375], false, "help");
    const initialise = button(root, texts.initialise, [9000, 0, 855, 375], false, "initialise");
    initialise.disabled = true;
    const rule = child(root, "div", "rule");
    place(rule, 0, 360, 9840, 15);

    const picture = child(root, "div", "picture sunken");
    place(picture, 120, 600, 9615, 6855);
    picture.tabIndex = 0;
    picture.setAttribute("aria-label", "たなばしごと着地の記録");
    const surface = new Surface(picture, 9555 / 15, 6795 / 15);
    const layout = constants().markers;
    const startMark = redBox(picture, layout.startLeft, layout.startTop);
    startMark.setAttribute("aria-label", "スタートの印（3本目の線）");
    const markers = layout.columnLeft.map((left) =>
        Array.from({ length: constants().columnCapacity }, (_, i) => {
            const marker = redBox(picture, left, layout.lowestTop - layout.pitch * i);
            marker.hidden = true;
            return marker;
        }),
    );

    const stop = button(root, texts.stop, [1080, 7680, 3375, 615], true, "stop");
    const start = button(root, texts.start, [5400, 7680, 3375, 615], true, "start");
    const rungNumber = child(root, "div", "rung-number");
    place(rungNumber, 120, 8280, 375, 255);
    rungNumber.setAttribute("aria-label", "横線の番号");
    // Tab order: the surface, start, quit, initialise, stop, help.
    [start, quit, initialise, stop, help].forEach((b, n) => (b.tabIndex = n + 1));
    return { root, quit, help, initialise, stop, start, rungNumber, surface, markers };
}
