// The page's address options, read as tanabashigo reads its command line: one schema, each
// option with its kind, its range from the engine's constants and the modes it belongs to.
// Anything it does not accept is refused with the reason, never clamped or dropped.

import type { PageConstants } from "./constants";

/** What the address asks for. */
export interface AddressOptions {
    seed: number | null;
    lesson: boolean;
    theory: boolean;
    /** The lesson's rung count and start line, when given. */
    rungs: number | null;
    start: number | null;
}

type Mode = "window" | "lesson" | "theory";

interface OptionRule {
    /** A flag takes no value; a number is a whole number in min..max. */
    kind: "flag" | "number";
    min?: (limits: PageConstants) => number;
    max?: (limits: PageConstants) => number;
    /** Where the option may be given. */
    modes: Mode[];
}

const EVERY: Mode[] = ["window", "lesson", "theory"];

/** Every option the address may carry. */
const SCHEMA: Record<keyof AddressOptions, OptionRule> = {
    seed: { kind: "number", min: () => 0, max: (c) => c.largestSeed, modes: EVERY },
    lesson: { kind: "flag", modes: EVERY },
    theory: { kind: "flag", modes: EVERY },
    rungs: { kind: "number", min: () => 0, max: (c) => c.rungSlots, modes: ["lesson"] },
    start: { kind: "number", min: () => 1, max: (c) => c.lineCount, modes: ["lesson"] },
};

const MODE_NAMES: Record<Mode, string> = { window: "実験のウィンドウ", lesson: "授業モード（?lesson）", theory: "理論と実験（?theory）" };

/** The options of `search` (location.search), or every reason they are refused. */
export function readAddress(search: string, limits: PageConstants): { options: AddressOptions } | { refusals: string[] } {
    const read = new Map<string, number | true>();
    const refusals: string[] = [];
    const given = new URLSearchParams(search);
    // As on the command line, an option given twice counts as given last.
    const values = new Map<string, string>();
    for (const [name, value] of given) {
        values.set(name, value);
    }
    const isOption = (name: string): name is keyof AddressOptions => Object.prototype.hasOwnProperty.call(SCHEMA, name);
    const mode: Mode = values.has("lesson") ? "lesson" : values.has("theory") ? "theory" : "window";
    for (const [name, value] of values) {
        if (!isOption(name)) {
            refusals.push(`「?${name}」というオプションはありません。`);
            continue;
        }
        const rule = SCHEMA[name];
        if (!rule.modes.includes(mode)) {
            const belongs = rule.modes.map((m) => MODE_NAMES[m]).join("・");
            refusals.push(`?${name} は${belongs}のオプションです（${MODE_NAMES[mode]}では使えません）。`);
            continue;
        }
        if (rule.kind === "flag") {
            if (value !== "") {
                refusals.push(`?${name} には値を付けません（「${value}」が付いています）。`);
            }
            read.set(name, true);
            continue;
        }
        const min = rule.min!(limits);
        const max = rule.max!(limits);
        const number = wholeNumber(value, min, max);
        if (number === null) {
            refusals.push(`?${name} の値「${value}」は ${min}〜${max} の整数で指定してください。`);
            continue;
        }
        read.set(name, number);
    }
    if (refusals.length > 0) {
        return { refusals };
    }
    const number = (name: string) => (read.get(name) as number | undefined) ?? null;
    return {
        options: { seed: number("seed"), lesson: read.has("lesson"), theory: read.has("theory"), rungs: number("rungs"), start: number("start") },
    };
}

/** `text` as a plain decimal number in min..max: digits only, no sign, no spaces. */
function wholeNumber(text: string, min: number, max: number): number | null {
    if (!/^\d{1,19}$/.test(text)) {
        return null;
    }
    const number = Number(text);
    return number >= min && number <= max ? number : null;
}
