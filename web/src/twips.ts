// Layout is given in twips: 1440 to the inch, 15 to a CSS pixel.

export const TWIPS_PER_PIXEL = 15;

/** Places `element` at a rectangle given in twips inside its positioned parent. */
export function place(element: HTMLElement, left: number, top: number, width: number, height: number): void {
    const style = element.style;
    style.position = "absolute";
    style.left = `${left / TWIPS_PER_PIXEL}px`;
    style.top = `${top / TWIPS_PER_PIXEL}px`;
    style.width = `${width / TWIPS_PER_PIXEL}px`;
    style.height = `${height / TWIPS_PER_PIXEL}px`;
}

/** A new element of `tag` with `className`, appended to `parent`. */
export function child<K extends keyof HTMLElementTagNameMap>(
    parent: HTMLElement,
    tag: K,
    className: string,
    text = "",
): HTMLElementTagNameMap[K] {
    const element = document.createElement(tag);
    element.className = className;
    element.textContent = text;
    parent.appendChild(element);
    return element;
}

/** The largest scale at which a box of `width` × `height` fits the `available` area. */
export function fitScale(width: number, height: number, availableWidth: number, availableHeight: number): number {
    return Math.max(0.1, Math.min(availableWidth / width, availableHeight / height));
}

/** The least width and height, in CSS pixels, of what a finger must hit. */
export const TOUCH_SIZE = 44;

/** The touch size in the unscaled pixels of a window drawn at `scale`, a pixel to spare for rounding. */
export function touchSpan(scale: number): number {
    return (TOUCH_SIZE + 1) / scale;
}

/**
 * Lets the touch area of `element` (a box of `own` = [left, top, width, height] pixels in its
 * parent) grow to `size` each way, spread evenly round it, but not past `room` = [left, top,
 * right, bottom]. The element itself is not moved or resized.
 */
export function growTouchArea(element: HTMLElement, own: number[], room: number[], size: number): void {
    const [left, top, width, height] = own;
    const spread = (from: number, extent: number, low: number, high: number) => {
        const extra = Math.max(0, size - extent);
        const after = Math.min(extra / 2, high - (from + extent));
        const before = Math.min(extra - Math.max(0, after), from - low);
        return [before, Math.min(extra - Math.max(0, before), high - (from + extent))];
    };
    const [growLeft, growRight] = spread(left, width, room[0], room[2]);
    const [growUp, growDown] = spread(top, height, room[1], room[3]);
    const style = element.style;
    style.setProperty("--touch-left", `${-growLeft}px`);
    style.setProperty("--touch-right", `${-growRight}px`);
    style.setProperty("--touch-top", `${-growUp}px`);
    style.setProperty("--touch-bottom", `${-growDown}px`);
}
