// The room's settings the lesson keeps in this browser between lessons. Where the browser
// keeps nothing (private windows, storage turned off), they last as long as the page.

const PREFIX = "tanabashigo.lesson.";

/** The number kept under `name`, or `fallback` when none is. */
export function remembered(name: string, fallback: number): number {
    try {
        const kept = localStorage.getItem(PREFIX + name);
        return kept === null || !Number.isFinite(Number(kept)) ? fallback : Number(kept);
    } catch {
        return fallback;
    }
}

/** Keeps `value` under `name`. */
export function remember(name: string, value: number): void {
    try {
        localStorage.setItem(PREFIX + name, String(value));
    } catch {
        // Not kept: the setting holds for this page only.
    }
}
