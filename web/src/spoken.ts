// What the page says to assistive tools without showing it: the polite announcements of
// landings and of the end, and the tally as a table read cell by cell.

import { constants } from "./constants";
import { child } from "./twips";

/** Says `text` once through the page's polite live region. */
export function announce(text: string): void {
    const region = document.getElementById("announcer");
    if (region) {
        region.textContent = text;
    }
}

export function landingSentence(column: number, count: number): string {
    return `${column} の列に着きました。${column} の列は ${count} 回`;
}

export function endSentence(column: number): string {
    return `${column} の列に ${constants().columnCapacity + 1} 回目が来たので、実験は終わりました。`;
}

/** A visually hidden table of the landings per column; answers its ten count cells. */
export function tallyTable(parent: HTMLElement): HTMLTableCellElement[] {
    const table = child(parent, "table", "visually-hidden tally");
    child(table, "caption", "", "列ごとの着地の回数");
    const head = child(table, "tr", "");
    child(head, "th", "", "列");
    const row = child(table, "tr", "");
    child(row, "th", "", "回数").scope = "row";
    return Array.from({ length: 10 }, (_, k) => {
        child(head, "th", "", String(k + 1)).scope = "col";
        return child(row, "td", "", "0");
    });
}

/** A heading of `level` that only assistive tools see. */
export function hiddenHeading(parent: HTMLElement, level: 1 | 2, text: string): HTMLElement {
    const heading = document.createElement(`h${level}`);
    heading.className = "visually-hidden";
    heading.textContent = text;
    parent.prepend(heading);
    return heading;
}
