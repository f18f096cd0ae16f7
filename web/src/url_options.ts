// What the page's address asks for.

/** The seed asked for by ?seed=N (0..4294967295, as tanabashigo --seed takes it), if any. */
export function seedOf(search: string): number | null {
    const text = new URLSearchParams(search).get("seed");
    if (text === null || !/^\d{1,10}$/.test(text)) {
        return null;
    }
    const seed = Number(text);
    return seed <= 0xffffffff ? seed : null;
}
