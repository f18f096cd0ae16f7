// Every landing kept in the browser's storage before its marker shows, in the same CSV lines
// the desktop program writes with --record.

/** One landing as the window reports it. */
export interface LandingLine {
    rungs: number;
    start: number;
    column: number;
    count: number;
    ends: boolean;
}

/** Formats a record line (the engine's format, without its line end) from the numbered landing. */
export type LineFormat = (time: string, experiment: number, trial: number, landing: LandingLine) => string;

/** A record line with the numbers it was written under. */
export interface StoredLine {
    experiment: number;
    trial: number;
    text: string;
}

/** Where the lines are kept for good: IndexedDB in the page. */
export interface LineStore {
    /**
     * Adds the lines `plan` makes from the highest experiment number kept so far, all or none,
     * with no other writer in between; settles once they are on disk, and rejects otherwise.
     */
    append(plan: (highestExperiment: number) => StoredLine[]): Promise<void>;
    /** Every line kept, by experiment and trial. */
    lines(): Promise<StoredLine[]>;
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

/** The numbers of the last line written of an experiment of this page. */
interface Numbers {
    experiment: number;
    trial: number;
}

/**
 * The record: experiments numbered after the highest one kept so far, landings numbered
 * within their experiment. A landing the storage refuses waits, in order, and is written
 * before the next one.
 */
export class RecordStore {
    private generation = 0;
    private written = new Map<number, Numbers>();
    private waiting: Waiting[] = [];
    private writing: Promise<string | null> = Promise.resolve(null);

    constructor(
        private readonly store: LineStore | null,
        private readonly header: string,
        private readonly format: LineFormat,
        private readonly now: () => Date = () => new Date(),
    ) {}

    /** The landings that follow belong to a new experiment. */
    startExperiment(): void {
        ++this.generation;
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
        // One write at a time, so that no landing is numbered twice.
        this.writing = this.writing.then(() => this.writeNow());
        return this.writing;
    }

    private async writeNow(): Promise<string | null> {
        if (this.waiting.length === 0) {
            return null;
        }
        if (!this.store) {
            return storageFailure(null);
        }
        const writing = this.waiting.slice();
        let numbered = { lines: [] as StoredLine[], written: this.written };
        try {
            await this.store.append((highest) => (numbered = this.numbered(writing, highest)).lines);
        } catch (error) {
            return storageFailure(error);
        }
        this.written = numbered.written;
        this.waiting.splice(0, writing.length);
        return this.waiting.length > 0 ? this.writeNow() : null;
    }

    /** The whole record as a file holds it, the landings that wait included. */
    async contents(): Promise<string> {
        let kept: StoredLine[] = [];
        try {
            kept = (await this.store?.lines()) ?? [];
        } catch {
            kept = [];
        }
        const highest = kept.reduce((most, line) => Math.max(most, line.experiment), 0);
        const lines = [...kept, ...this.numbered(this.waiting, highest).lines];
        return [this.header, ...lines.map((line) => line.text)].join("\n") + "\n";
    }

    /**
     * The lines of `landings`: each experiment of this page continues its numbers, a new one
     * takes the next number after `highest`. Answers the numbers written with them too.
     */
    private numbered(landings: Waiting[], highest: number): { lines: StoredLine[]; written: Map<number, Numbers> } {
        const written = new Map(this.written);
        let next = highest;
        const lines = landings.map(({ time, landing, generation }) => {
            const before = written.get(generation) ?? { experiment: ++next, trial: 0 };
            const numbers = { experiment: before.experiment, trial: before.trial + 1 };
            written.set(generation, numbers);
            return { ...numbers, text: this.format(time, numbers.experiment, numbers.trial, landing) };
        });
        return { lines, written };
    }
}

/** Lines kept in this page only, where the browser gives the page no storage. */
export class MemoryLines implements LineStore {
    protected kept: StoredLine[] = [];

    async append(plan: (highestExperiment: number) => StoredLine[]): Promise<void> {
        this.kept.push(...plan(this.kept.reduce((most, line) => Math.max(most, line.experiment), 0)));
    }

    async lines(): Promise<StoredLine[]> {
        return this.kept.slice().sort((a, b) => a.experiment - b.experiment || a.trial - b.trial);
    }
}
