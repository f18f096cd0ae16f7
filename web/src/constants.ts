// The engine's numbers as the page uses them: one place, filled from the C++ constants.

import type { Segment } from "./engine";

export interface PageConstants {
    /** Lines of the ladder, and landing columns. */
    lineCount: number;
    /** The rung counts the experiment window's prompt accepts. */
    fewestRungs: number;
    mostRungs: number;
    /** Rung slots of a ladder: the most rungs a lesson or the theory takes. */
    rungSlots: number;
    /** Markers a column holds; the next landing there ends the experiment. */
    columnCapacity: number;
    /** The largest seed tanabashigo --seed takes. */
    largestSeed: number;
    /** The lesson's speeds. */
    slowest: number;
    fastest: number;
    /** The ten lines of the empty ladder, in ladder units. */
    emptyLadder: Segment[];
    /** The lesson's choices of colour for the path and the markers, today's red first. */
    pathColours: { name: string; path: string; marker: string }[];
    /** The lesson picture's background. */
    lessonBackground: string;
    /** Where the experiment window's red boxes stand in its ladder surface, in twips. */
    markers: {
        columnLeft: number[];
        lowestTop: number;
        pitch: number;
        box: number;
        startLeft: number;
        startTop: number;
    };
}

let known: PageConstants | null = null;

/** Takes the engine's numbers, once, before any window is built. */
export function setConstants(constants: PageConstants): void {
    known = constants;
}

/** The engine's numbers. */
export function constants(): PageConstants {
    if (!known) {
        throw new Error("the engine's constants are asked for before the engine is loaded");
    }
    return known;
}
