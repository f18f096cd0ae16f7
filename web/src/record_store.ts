// Every landing kept in the browser's storage before its marker shows, in the same CSV lines
// the desktop program writes with --record.

/** The part of the browser's storage the record needs; localStorage in the page. */
export interface KeyValueStore {
    getItem(key: string): string | null;
    setItem(key: string, value: string): void;
}

/** One landing as the window reports it. */
export interface LandingLine {
    rungs: number;
    start: number;
    column: number;
    count: number;
    ends: boolean;
}

/** Formats a record line (the engine's format) from the numbered landing. */
export type LineFormat = (time: string, experiment: number, trial: number, landing: LandingLine) => string;

const TEXT_KEY = "tanabashigo.record";

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
        return "ブラウザの保存領域がいっぱいです。「記録を保存」でファイルに書き出してください。";
    }
    return "このブラウザでは記録を保存できません（保存が許されていません）。「記録を保存」でファイルに書き出してください。";
}

/**
 * The record: experiments numbered after the highest one kept so far, landings numbered
 * within their experiment. The text stays in memory too, so a refused storage loses nothing
 * while the page is open.
 */
export class RecordStore {
    private text: string;
    private experiment = 0;
    private trial = 0;

    constructor(
        private readonly store: KeyValueStore | null,
        private readonly header: string,
        private readonly format: LineFormat,
        private readonly now: () => Date = () => new Date(),
    ) {
        this.text = this.read() ?? "";
    }

    /** The tally starts empty: the landings that follow belong to a new experiment. */
    startExperiment(): void {
        this.experiment = 0;
    }

    /** Keeps one landing; answers why it could not be stored, or null once it is. */
    keep(landing: LandingLine): string | null {
        if (this.experiment === 0) {
            this.experiment = this.highestExperiment() + 1;
            this.trial = 0;
        }
        const line = this.format(localIsoTime(this.now()), this.experiment, ++this.trial, landing);
        const latest = this.latest();
        this.text = (latest === "" ? `${this.header}\n` : latest) + line;
        try {
            if (!this.store) {
                throw new DOMException("no storage", "SecurityError");
            }
            this.store.setItem(TEXT_KEY, this.text);
            return null;
        } catch (error) {
            return storageFailure(error);
        }
    }

    /** The whole record as a file holds it; empty when nothing was recorded. */
    contents(): string {
        return this.latest();
    }

    /** How many landings the record holds. */
    landingCount(): number {
        const lines = this.contents().split("\n").filter((line) => line !== "");
        return Math.max(0, lines.length - 1);
    }

    /**
     * The longer of what the storage holds and what this page kept: another page may have
     * added to the storage, or the storage may have refused this page's last lines.
     */
    private latest(): string {
        const stored = this.read() ?? "";
        return stored.length >= this.text.length ? stored : this.text;
    }

    private read(): string | null {
        try {
            return this.store?.getItem(TEXT_KEY) ?? null;
        } catch {
            return null;
        }
    }

    private highestExperiment(): number {
        let highest = 0;
        for (const line of this.contents().split("\n").slice(1)) {
            const experiment = Number(line.split(",")[1]);
            if (Number.isInteger(experiment) && experiment > highest) {
                highest = experiment;
            }
        }
        return highest;
    }
}
