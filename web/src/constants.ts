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
}
