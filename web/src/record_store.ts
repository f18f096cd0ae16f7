// Every landing kept in the browser's storage before its marker shows, in the same CSV lines
// the desktop program writes with --record.

import type { PageRecordKeeper, RecordRefusal } from "./engine";

/** One landing as the window reports it. */
export interface LandingLine {
    rungs: number;
    start: number;
    column: number;
    count: number;
    ends: boolean;
}

/** A record line with the numbers it was written under. */
export interface StoredLine {
    experiment: number;
    trial: number;
    text: string;
}

/** The record line `text` with its numbers, or null when it is not a record line. */
export function storedLine(text: string): StoredLine | null {
    const fields = text.split(",");
    const experiment = Number(fields[1]);
    const trial = Number(fields[2]);
    return fields.length >= 8 && Number.isInteger(experiment) && experiment > 0 && Number.isInteger(trial)
        ? { experiment, trial, text }
        : null;
}

/** Where the lines are kept for good: IndexedDB in the page. */
export interface LineStore {
    /**
     * Adds the lines `plan` makes from the lines kept so far (by experiment and trial), all or
     * none, with no other writer in between; settles once they are on disk, and rejects
     * otherwise.
     */
    append(plan: (kept: string[]) => string[]): Promise<void>;
    /** Every line kept, by experiment and trial. */
    lines(): Promise<StoredLine[]>;
}

/** The stored record was refused as the desktop would refuse the file. */
class RecordRefused extends Error {
    constructor(readonly refusal: RecordRefusal) {
        super(refusal.japanese);
    }
}

/** The local time `date` in ISO 8601 with its offset, e.g. 2026-12-07T09:15:02+09:00. */
export function localIsoTime(date: Date): string {
    const two = (n: number) => String(n).padStart(2, "0");
    const offset = -date.getTimezoneOffset();
    const sign = offset >= 0 ? "+" : "-";
    const zone = `${sign}${two(Math.floor(Math.abs(offset) / 60))}:${two(Math.abs(offset) % 60)}`;
    return (
        `${date.getFullYear()}-${two(date.getMonth() + 1)}-${two(date.getDate())}` +
        `T${two(date.getHours())}:${two(date.getMinutes())}:${two(date.getSeconds())}${zone}`
    );
}

/** Why the browser refused to keep the record, in Japanese. */
export function storageFailure(error: unknown): string {
    if (error instanceof RecordRefused) {
        const { line, japanese } = error.refusal;
        return `ブラウザに残した記録が読めないため、書き足せません（${line > 0 ? `${line} 行目：` : ""}${japanese}）。`;
    }
    const name = error instanceof Error || error instanceof DOMException ? error.name : "";
    if (name === "QuotaExceededError" || name === "NS_ERROR_DOM_QUOTA_REACHED") {
        return "ブラウザの保存領域がいっぱいで、記録を書き込めません。";
    }
    if (name === "ConstraintError") {
        return "記録の番号が、ほかのタブの記録と重なりました。";
    }
    return "このブラウザでは記録を書き込めません（保存が許されていないか、保存領域が使えません）。";
}

interface Waiting {
    time: string;
    landing: LandingLine;
    /** Which experiment of this page it belongs to. */
    generation: number;
}

/**
 * The record, kept by the desktop's rules (the engine's PageRecordKeeper): experiments numbered
 * after the highest one kept so far, landings numbered within their experiment. A landing the
 * storage refuses waits, in order, and is written before the next one. Where the stored lines
 * no longer hold an experiment of this page (the browser's data was cleared), it is written
 * afresh under a new number.
 */
export class RecordStore {
    private generation = 0;
    /** The experiment of this page that the keeper's landings continue; -1 before any. */
    private continuing = -1;
    private waiting: Waiting[] = [];
    /** The class's prediction of each experiment of this page that has one. */
    private predictions = new Map<number, number[]>();
    /** Writes and reads one at a time, so that no landing is numbered twice. */
    private queue: Promise<unknown> = Promise.resolve();

    constructor(
        private readonly store: LineStore | null,
        private readonly header: string,
        private readonly keeper: PageRecordKeeper,
        private readonly now: () => Date = () => new Date(),
    ) {}

    /** The landings that follow belong to a new experiment. */
    startExperiment(): void {
        ++this.generation;
    }

    /** The class's prediction for the experiment under way, written ahead of its first landing. */
    predict(hands: number[]): void {
        this.predictions.set(this.generation, hands.slice());
    }

    /** Whether landings wait to be written. */
    hasWaiting(): boolean {
        return this.waiting.length > 0;
    }

    /** Keeps one landing; answers, once it is on disk, null, or else why it is not. */
    keep(landing: LandingLine): Promise<string | null> {
        this.waiting.push({ time: localIsoTime(this.now()), landing, generation: this.generation });
        return this.writeWaiting();
    }

    /** Writes the landings that wait; answers null once none waits, or why they still do. */
    writeWaiting(): Promise<string | null> {
        return this.inTurn(() => this.writeNow());
    }

    /** The whole record as a file holds it, the landings that wait included. */
    contents(): Promise<string> {
        return this.inTurn(async () => {
            let kept: string[] = [];
            try {
                kept = ((await this.store?.lines()) ?? []).map((line) => line.text);
            } catch {
                kept = [];
            }
            let waiting: string[] = [];
            this.keeper.save();
            try {
                waiting = this.numbered(kept, this.waiting).lines;
            } catch {
                waiting = [];
            } finally {
                this.keeper.restore();
            }
            return [this.header, ...kept, ...waiting].join("\n") + "\n";
        });
    }

    private inTurn<T>(task: () => Promise<T>): Promise<T> {
        const done = this.queue.then(task);
        this.queue = done.catch(() => undefined);
        return done;
    }

    private async writeNow(): Promise<string | null> {
        if (this.waiting.length === 0) {
            return null;
        }
        if (!this.store) {
            return storageFailure(null);
        }
        const writing = this.waiting.slice();
        let continuing = this.continuing;
        this.keeper.save();
        try {
            await this.store.append((kept) => {
                const numbered = this.numbered(kept, writing);
                continuing = numbered.continuing;
                return numbered.lines;
            });
        } catch (error) {
            this.keeper.restore();
            return storageFailure(error);
        }
        this.continuing = continuing;
        this.waiting.splice(0, writing.length);
        return this.waiting.length > 0 ? this.writeNow() : null;
    }

    /** The lines to add after the `kept` ones to keep `landings`, and the experiment they leave
     * the keeper continuing. */
    private numbered(kept: string[], landings: Waiting[]): { lines: string[]; continuing: number } {
        const refused = this.keeper.take(kept.length > 0 ? [this.header, ...kept, ""].join("\n") : "");
        if (refused) {
            throw new RecordRefused(refused);
        }
        let continuing = this.continuing;
        const lines: string[] = [];
        for (const { time, landing, generation } of landings) {
            if (generation !== continuing) {
                this.keeper.startExperiment();
                const hands = this.predictions.get(generation);
                if (hands) {
                    this.keeper.predict(hands);
                }
                continuing = generation;
            }
            const { rungs, start, column, count, ends } = landing;
            const appended = this.keeper.append(rungs, start, column, count, ends, time, true);
            if (!("text" in appended)) {
                throw new RecordRefused(appended);
            }
            lines.push(...appended.text.split("\n").filter((line) => line !== "" && line !== this.header));
            this.keeper.appended();
        }
        return { lines, continuing };
    }
}

/** Lines kept in this page only, where the browser gives the page no storage. */
export class MemoryLines implements LineStore {
    protected kept: StoredLine[] = [];

    async append(plan: (kept: string[]) => string[]): Promise<void> {
        const kept = (await this.lines()).map((line) => line.text);
        this.kept.push(...plan(kept).flatMap((text) => storedLine(text) ?? []));
    }

    async lines(): Promise<StoredLine[]> {
        return this.kept.slice().sort((a, b) => a.experiment - b.experiment || a.trial - b.trial);
    }
}
