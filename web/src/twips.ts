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
